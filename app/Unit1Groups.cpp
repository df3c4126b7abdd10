// SPDX-License-Identifier: MIT
// Groups and their buttons: loading a group from its file, saving it, and
// building one launch button per entry.
#include "app/Unit1.h"

#include "app/BarMenus.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "launcher/IconLayer.h"
#include "launcher/IconQueue.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"
#include "core/files/SystemReason.h"

#include <QApplication>
#include <QFileInfo>

#include <climits>
#include <functional>

namespace {

// Sizes from a hand-edited settings file can be absurd; a button or icon
// beyond this would only exhaust memory.
constexpr int32_t kMaxSide = 1024;

int saneSide(int32_t value)
{
    return std::clamp<int32_t>(value, 0, kMaxSide);
}

// A small group's icons are made as its buttons are built; a larger group
// shows its buttons at once and the new icons of those in sight follow from
// the event loop.
constexpr qsizetype kSyncIconGroup = 12;

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

// A button's hint: the user's, as hints are on or off, and for a file that
// is not there, always that it is not.
QString buttonHint(const QString &hint, bool hintsOn, const QString &missingFile)
{
    const QString shown = hintsOn ? hint : QString();
    if (missingFile.isEmpty())
        return shown;
    //: %1 is the path of an entry's file.
    const QString missing = TForm1::tr("ファイルが見つかりません: %1").arg(missingFile);
    return shown.isEmpty() ? missing : missing + u'\n' + shown;
}

// Runs `before` ahead of any input the application is given.
class InputWatch : public QObject
{
public:
    InputWatch(QObject *parent, std::function<void()> before)
        : QObject(parent)
        , m_before(std::move(before))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
        case QEvent::Wheel:
        case QEvent::DragEnter:
        case QEvent::Drop:
            m_before();
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> m_before;
};

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
    if (index == m_menuIndex)
        watchFiles();
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
    const GroupModel &group = currentGroup();
    GroupChange change{GroupChange::Reset, 0, group.size(), 0, false, {}};
    change.stamps.reserve(group.size());
    for (qsizetype i = 0; i < group.size(); ++i)
        change.stamps.append(fileStamp(group.entry(i).fname));
    showEntries(change);
    // As a load of an empty file would: there is nothing to do but register.
    if (group.isEmpty() && group.fileLines().isEmpty() && !group.isUnreadable())
        switchRegistrationOn();
}

void TForm1::groupChanged(int group, const GroupChange &change)
{
    if (group != m_menuIndex)
        return;
    // Buttons still to be made would land in the wrong places.
    if (change.kind == GroupChange::Reset || !m_pendingStamps.isEmpty()) {
        showEntries(change.kind == GroupChange::Reset ? change : GroupChange{});
        return;
    }
    const GroupModel &model = LaunchPath.group(group);
    switch (change.kind) {
    case GroupChange::Inserted:
        for (qsizetype i = change.first; i < change.first + change.count; ++i) {
            AddLaunchButton(model.entry(i));
            moveButton(LaunchBtn.size() - 1, i);
        }
        break;
    case GroupChange::Removed:
        removeButton(LaunchBtn.at(change.first));
        break;
    case GroupChange::Moved:
        moveButton(change.first, change.to);
        break;
    case GroupChange::Replaced: {
        LaunchButton *button = LaunchBtn.at(change.first);
        const TRec entry = model.entry(change.first);
        if (button->filePath() != entry.fname) {
            const FileStamp stamp = fileStamp(entry.fname);
            button->reuse(entry.fname, saneSide(bw), saneSide(m_settings.pad), bc);
            button->setFileMissing(!stamp.isFileOrFolder());
            m_icons->applyIcon(button, &stamp);
        }
        describeButton(button, entry);
        // The hint as the user typed it.
        if (m_settings.FShowhint || button->isFileMissing())
            button->setToolTip(
                buttonHint(entry.hint, m_settings.FShowhint, button->isFileMissing() ? entry.fname : QString()));
        break;
    }
    case GroupChange::Reset:
        break;
    }
    Q_EMIT groupLinesChanged();
}

void TForm1::showEntries(const GroupChange &change)
{
    removeAllButtons();
    nameCurrentGroup();
    const GroupModel &group = currentGroup();
    const qsizetype lineCount = change.loaded ? group.fileLineCount() : group.size();
    // An unreadable file is not an empty group: there is nothing to register
    // into, since it is never written.
    if (change.loaded && lineCount == 0 && !group.isUnreadable())
        switchRegistrationOn();
    m_icons->beginBatch(lineCount <= kSyncIconGroup ? INT_MAX : 0);
    // The focus goes to the last button, as AddLaunchButton would leave it,
    // once: moving it through a thousand buttons costs a pair of events each.
    m_loadingGroup = true;
    const bool stamped = change.stamps.size() == group.size();
    for (qsizetype i = 0; i < group.size(); ++i) {
        const FileStamp *stamp = stamped ? &change.stamps.at(i) : nullptr;
        // Before the bar's first paint only what it shows is made.
        if (stamp
            && (!m_pendingStamps.isEmpty()
                || (!m_painted && isVisible() && !LaunchBtn.isEmpty()
                    && LaunchBtn.last()->y() >= FlowLayout1->height()))) {
            m_pendingStamps.append(*stamp);
            continue;
        }
        AddLaunchButton(group.entry(i), stamp);
    }
    m_icons->endBatch();
    m_loadingGroup = false;
    if (!m_pendingStamps.isEmpty() && !m_pendingInputWatch) {
        m_pendingInputWatch = new InputWatch(this, [this] { makePendingButtons(); });
        qApp->installEventFilter(m_pendingInputWatch);
    }
    // Spare buttons stay shown while the group is built, so the ones reused
    // are not hidden and shown again; the rest go out of sight now.
    for (LaunchButton *spare : std::as_const(m_spareButtons))
        spare->hide();
    if (!LaunchBtn.isEmpty())
        LaunchBtn.last()->setFocus();
    if (change.loaded)
        Q_EMIT groupLoaded();
    Q_EMIT groupLinesChanged();
}

void TForm1::makePendingButtons()
{
    const QList<FileStamp> stamps = std::exchange(m_pendingStamps, {});
    dropPendingButtons();
    if (stamps.isEmpty())
        return;
    const GroupModel &group = currentGroup();
    const qsizetype first = LaunchBtn.size();
    // Out of sight: their icons follow from the event loop.
    m_loadingGroup = true;
    m_icons->beginBatch(0);
    for (qsizetype k = 0; k < stamps.size(); ++k)
        AddLaunchButton(group.entry(first + k), &stamps.at(k));
    m_icons->endBatch();
    m_loadingGroup = false;
    LaunchBtn.last()->setFocus();
    Q_EMIT groupLinesChanged();
}

void TForm1::dropPendingButtons()
{
    m_pendingStamps.clear();
    if (m_pendingInputWatch) {
        // Deleted later: this may run from within its own filter.
        qApp->removeEventFilter(m_pendingInputWatch);
        m_pendingInputWatch->deleteLater();
        m_pendingInputWatch = nullptr;
    }
}

void TForm1::showFileFound(LaunchButton *button, const TRec &entry, const FileStamp &stamp)
{
    button->setFileMissing(false);
    button->setToolTip(buttonHint(launchHint(entry), m_settings.FShowhint, QString()));
    describeButton(button, entry);
    m_icons->applyIcon(button, &stamp);
}

LaunchButton *TForm1::AddLaunchButton(const TRec &entry, const FileStamp *stamp)
{
    LaunchButton *button = m_spareButtons.isEmpty() ? newLaunchButton() : m_spareButtons.takeLast();
    button->reuse(entry.fname, saneSide(bw), saneSide(m_settings.pad), bc);
    // An entry made now (a drop) names a file that is there.
    const bool missing = stamp && !stamp->isFileOrFolder();
    button->setFileMissing(missing);
    button->setToolTip(buttonHint(launchHint(entry), m_settings.FShowhint, missing ? entry.fname : QString()));
    describeButton(button, entry);
    button->setHoverEffect(m_settings.GlowNo, QColor::fromRgba(m_settings.GlowColor));

    FlowLayout1->addItem(button);
    LaunchBtn.append(button);
    if (!m_loadingGroup)
        button->setFocus();
    m_icons->applyIcon(button, stamp);
    return button;
}

void TForm1::moveButton(qsizetype from, qsizetype to)
{
    // The layer's order may differ from LaunchBtn's while a drag previews.
    FlowLayout1->moveItem(FlowLayout1->items().indexOf(LaunchBtn[from]), to);
    LaunchBtn.move(from, to);
}

LaunchButton *TForm1::newLaunchButton()
{
    return new LaunchButton(QString(), 0, 0, 0, FlowLayout1, this);
}

void TForm1::launchButtonClicked(LaunchButton *button)
{
    BtnClickEvent(button);
}

void TForm1::launchButtonEntered(LaunchButton *button)
{
    ButtonMouseEnter(button);
}

void TForm1::launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos)
{
    // The menu acts on obj: from the keyboard that is the focused button,
    // not the one the pointer last passed.
    obj = button;
    m_menus->popupButtonMenu(globalPos);
}

void TForm1::launchButtonStyleChanged(LaunchButton *button)
{
    m_icons->ButtonApplyStyleLookup(button);
}

void TForm1::ButtonMouseEnter(LaunchButton *button)
{
    obj = button;
}

void TForm1::removeButton(LaunchButton *button)
{
    FlowLayout1->removeItem(button);
    LaunchBtn.removeOne(button);
    // Nothing refers to a button once it is off the bar; obj is a guarded
    // pointer and lets go of it.
    button->deleteLater();
}

void TForm1::removeAllButtons()
{
    dropPendingButtons();
    // Taken off the layer still shown: LoadGroup hides the ones it does not
    // reuse.
    FlowLayout1->takeItems();
    // Kept for the next group: making and destroying a thousand widgets is
    // most of what a group switch would otherwise cost.
    if (LaunchBtn.contains(obj.data()))
        obj = nullptr;
    // Last first: the next group's first entry is given the first button
    // again, so a rebuild of the same entries keeps each on its widget.
    for (auto it = LaunchBtn.crbegin(); it != LaunchBtn.crend(); ++it) {
        LaunchButton *button = *it;
        if (m_spareButtons.size() < kMaxSpareButtons) {
            m_spareButtons.append(button);
        } else {
            button->hide();
            button->deleteLater();
        }
    }
    LaunchBtn.clear();
}
