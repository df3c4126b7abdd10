// SPDX-License-Identifier: MIT
// Opening an entry: the click finds the entry and hands it to a worker of
// the bar's launch pool, so the bar never waits for a program to start;
// typing to filter every group, and Ctrl+1 to Ctrl+9 (the bar's side of
// TypeFilter, which asks it what to show and what to open).
#include "app/Unit1.h"

#include "app/ArrangeDrag.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "app/TypeFilter.h"
#include "launcher/LaunchButton.h"
#include "core/entries/LaunchRequest.h"
#include "core/entries/PathRules.h"

#include <QCoreApplication>
#include <QPointer>

#include <functional>
#include <optional>

void TForm1::BtnClickEvent(LaunchButton *sender)
{
    launchEntry(m_menuIndex, m_grid->rowOf(sender));
}

void TForm1::FolderCmdClick()
{
    const qsizetype i = m_grid->rowOf(obj.data());
    if (i < 0 || i >= currentGroup().size())
        return;
    const std::optional<LaunchRequest> entry = launchRequestFor(currentGroup().line(i));
    const QString folder = entry ? workingDirectoryOf(entry->file) : QString();
    if (folder.isEmpty())
        return;
    startOpen({folder, {}, {}, {}});
}

void TForm1::startOpen(LaunchRequest request)
{
    m_launches->start(std::move(request));
}

bool TForm1::waitForLaunches()
{
    return m_launches->waitForDone();
}

void TForm1::setDropOpener(DropOpenFunction open)
{
    m_launches->setDropOpener(std::move(open));
}

void TForm1::setOpener(OpenFunction open)
{
    m_launches->setOpener(std::move(open));
}

void TForm1::createTypeFilter()
{
    TypeFilter::BarLinks links;
    links.currentGroup = [this] { return m_menuIndex; };
    links.mayStart = [this] { return !isRegistrationAreaShown() && !m_arrangeDrag->isRunning(); };
    links.look = [this] { return buttonLook(); };
    links.launch = [this](const EntryRef &entry) { launchEntry(entry.group, entry.index); };
    links.launchShown = [this](qsizetype n) { launchEntry(m_menuIndex, n); };
    m_typeFilter = new TypeFilter(this, FlowLayout1, Rectangle1, LaunchPath, std::move(links));
}

void TForm1::launchEntry(int group, qsizetype index)
{
    if (group < 0 || group >= kGroupCount || index < 0 || index >= LaunchPath[group]->size())
        return;
    const GroupModel &model = LaunchPath.group(group);
    // The current group shows which files were missing: those are looked at
    // again, so a drive mounted since the load works at once. Another
    // group's file is looked at now.
    const bool shown = group == m_menuIndex;
    const bool missing = shown ? model.index(int(index)).data(GroupModel::MissingRole).toBool()
                                     && !LaunchPath.lookAgain(group, index).isFileOrFolder()
                               : !fileStamp(model.entry(index).fname).isFileOrFolder();
    if (missing) {
        //: %1 is the entry's file.
        ErrorReport::notify(this,
                            tr("%1 が見つかりません。ドライブが外れているか、ファイルが移動または削除されました。")
                                .arg(model.entry(index).fname));
        return;
    }
    std::optional<LaunchRequest> request = launchRequestFor(model.line(index));
    if (request)
        startOpen(std::move(*request));
}
