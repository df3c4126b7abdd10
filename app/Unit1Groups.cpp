// SPDX-License-Identifier: MIT
// The bar's side of its groups: loading the current one, telling a failed
// save, and the look its buttons (EntryGrid) are built with.
#include "app/Unit1.h"

#include "app/BarMenus.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "launcher/LaunchButton.h"
#include "core/files/SystemReason.h"

#include <QFileInfo>

namespace {

//: %1 is a group file's path, %2 the reason.
const char *const kCannotCreateText = QT_TRANSLATE_NOOP("TForm1", "ファイル \"%1\" を作成できません。%2");
//: %1 is a group file's path, %2 the reason.
const char *const kCannotWriteText = QT_TRANSLATE_NOOP("TForm1", "ファイル \"%1\" に書き込めません。%2");
const char *const kUnreadableFileText = QT_TRANSLATE_NOOP("TForm1", "読み込めなかったファイルは上書きしません");
//: %1 is a group file's path, %2 the reason.
const char *const kCannotReadText = QT_TRANSLATE_NOOP("TForm1", "ファイル \"%1\" を読み込めません。%2");

// Why a group's file could not be read, in the interface's language.
QString unreadableReason(const GroupModel &group)
{
    switch (group.unreadableProblem()) {
    case GroupFileContent::SystemError:
        return systemReason(group.unreadableError());
    case GroupFileContent::NotAFile:
        return TForm1::tr("通常のファイルではありません。");
    case GroupFileContent::TooLarge:
        return TForm1::tr("ファイルが大きすぎるため、一部しか読み込めません。");
    case GroupFileContent::Undecodable:
        return TForm1::tr("ファイルの文字コードを判別できません。");
    case GroupFileContent::NoProblem:
        break;
    }
    return QString();
}

// A failed save leaves the file as it was: one that is there could not be
// written, one that is not could not be made.
QString cannotSaveText(const QString &path, const QString &reason)
{
    return TForm1::tr(QFileInfo::exists(path) ? kCannotWriteText : kCannotCreateText).arg(path, reason);
}

} // namespace

QString TForm1::groupPath(int group) const
{
    return HomePath + groupFileName(group);
}

void TForm1::switchRegistrationOn()
{
    DropTarget1->show();
    m_menus->setRegistrationMarks(true);
}

void TForm1::LoadGroup(int index)
{
    // The buttons follow the model's notification.
    if (index == m_menuIndex) {
        m_grid->setModel(&LaunchPath.group(index));
        m_grid->setLook(buttonLook());
        watchFiles();
    }
    if (LaunchPath.reload(index).failure == GroupResult::Unreadable && index == m_menuIndex) {
        const GroupModel &group = LaunchPath.group(index);
        ErrorReport::notify(this, tr(kCannotReadText).arg(group.path(), unreadableReason(group)));
    }
}

bool TForm1::SaveGroup()
{
    return bool(LaunchPath.save(m_menuIndex));
}

void TForm1::groupSaveFailed(int groupIndex, const GroupResult &result, const GroupEdit &edit)
{
    const GroupModel &group = LaunchPath.group(groupIndex);
    switch (result.failure) {
    case GroupResult::None:
        return;
    case GroupResult::WriteFailed:
        ErrorReport::show(this, cannotSaveText(group.path(), result.error));
        break;
    case GroupResult::EditRefused:
        ErrorReport::show(
            this, (edit.kind == GroupEdit::Reorder || edit.kind == GroupEdit::Move
                       ? tr("ファイル \"%1\" が他で変更されたため、並べ替えを保存できません。"
                            "ファイルの内容を読み直しましたので、もう一度並べ替えてください。")
                       : tr("ファイル \"%1\" が他で変更され、このエントリが見つからないため、変更を保存できません。"
                            "ファイルの内容を読み直しました。"))
                      .arg(group.path()));
        break;
    default:
        ErrorReport::show(this, cannotSaveText(group.path(), tr(kUnreadableFileText)));
        break;
    }
}

bool TForm1::setGroupOrder(const QStringList &lines)
{
    return bool(LaunchPath.setLines(m_menuIndex, lines));
}

void TForm1::rebuildButtons(int32_t size, int32_t corner)
{
    bw = size;
    bc = corner;
    SetBackColor();
    // The entries stay as the model holds them; only their files are looked
    // at again, for a file that went or came back meanwhile.
    LaunchPath.lookAgain(m_menuIndex);
    m_grid->setLook(buttonLook());
    m_grid->rebuild();
    // As a load of an empty file would: there is nothing to do but register.
    const GroupModel &group = currentGroup();
    if (group.isEmpty() && group.fileLines().isEmpty() && !group.isUnreadable())
        switchRegistrationOn();
    Q_EMIT groupLinesChanged();
}

EntryLook TForm1::buttonLook() const
{
    return {bw, m_settings.pad, bc, m_settings.GlowNo, QColor::fromRgba(m_settings.GlowColor), m_settings.FShowhint};
}

void TForm1::groupChanged(int group, const GroupChange &change)
{
    // The buttons have followed the model already (EntryGrid).
    if (group != m_menuIndex)
        return;
    if (change.kind == GroupChange::Reset) {
        nameCurrentGroup();
        // An unreadable file is not an empty group: there is nothing to
        // register into, since it is never written.
        const GroupModel &model = currentGroup();
        if (change.loaded && model.fileLineCount() == 0 && !model.isUnreadable())
            switchRegistrationOn();
        if (change.loaded)
            Q_EMIT groupLoaded();
    }
    Q_EMIT groupLinesChanged();
}

const QList<LaunchButton *> &TForm1::LaunchBtn() const
{
    return m_grid->buttons();
}

void TForm1::launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos)
{
    // The menu acts on obj: from the keyboard that is the focused button,
    // not the one the pointer last passed.
    obj = button;
    m_menus->popupButtonMenu(globalPos);
}

void TForm1::ButtonMouseEnter(LaunchButton *button)
{
    obj = button;
}

void TForm1::removeAllButtons()
{
    m_grid->clear();
}

bool TForm1::moveEntry(qsizetype from, qsizetype to)
{
    return bool(LaunchPath.move(m_menuIndex, from, to));
}
