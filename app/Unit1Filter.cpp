// SPDX-License-Identifier: MIT
// Typing to filter every group, and Ctrl+1 to Ctrl+9: the bar's side of
// TypeFilter, which asks it what to show and what to open.
#include "app/Unit1.h"

#include "app/ArrangeDrag.h"

#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "app/TypeFilter.h"
#include "core/entries/LaunchRequest.h"
#include "launcher/LaunchButton.h"

void TForm1::createTypeFilter()
{
    TypeFilter::BarLinks links;
    links.currentGroup = [this] { return m_menuIndex; };
    links.mayStart = [this] { return !isRegistrationAreaShown() && !m_arrangeDrag->isRunning(); };
    links.look = [this] { return buttonLook(); };
    links.launch = [this](const EntryRef &entry) { launchEntry(entry.group, entry.index); };
    links.launchShown = [this](qsizetype n) {
        if (n < LaunchBtn().size())
            BtnClickEvent(LaunchBtn().at(n));
    };
    m_typeFilter = new TypeFilter(this, FlowLayout1, Rectangle1, LaunchPath, std::move(links));
}

void TForm1::launchEntry(int group, qsizetype index)
{
    if (group < 0 || group >= kGroupCount || index < 0 || index >= LaunchPath[group]->size())
        return;
    // The current group's entry has its button, which a click would update.
    if (group == m_menuIndex && index < LaunchBtn().size()) {
        BtnClickEvent(LaunchBtn().at(index));
        return;
    }
    const GroupModel &model = LaunchPath.group(group);
    const TRec entry = model.entry(index);
    if (!fileStamp(entry.fname).isFileOrFolder()) {
        //: %1 is the entry's file.
        ErrorReport::notify(this,
                            tr("%1 が見つかりません。ドライブが外れているか、ファイルが移動または削除されました。")
                                .arg(entry.fname));
        return;
    }
    std::optional<LaunchRequest> request = launchRequestFor(model.line(index));
    if (request)
        startOpen(std::move(*request));
}
