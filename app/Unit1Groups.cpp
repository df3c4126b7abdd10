// SPDX-License-Identifier: MIT
// Groups and their buttons: loading a group from its file, saving it, and
// building one launch button per entry.
#include "app/Unit1.h"

#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "launcher/IconLayer.h"
#include "launcher/IconCache.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTimer>

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
// the event loop, in order, this many at a time.
constexpr qsizetype kSyncIconGroup = 12;
constexpr int kIconsPerTurn = 24;

//: %1 is a group file's path, %2 the reason.
const char *const kCannotCreateText = QT_TRANSLATE_NOOP("TForm1", "ファイル \"%1\" を作成できません。%2");
const char *const kUnreadableFileText = QT_TRANSLATE_NOOP("TForm1", "読み込めなかったファイルは上書きしません");

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
    AddMenu->setChecked(true);
    AddMenu2->setChecked(true);
    MenuItem6->setEnabled(false);
}

void TForm1::LoadGroup(int index)
{
    dropPendingButtons();
    LaunchPath[index].clear();
    const GroupFileContent content = readGroupFile(groupPath(index));
    m_groupUnreadable[index] = content.status == GroupFileContent::Unreadable;
    m_groupStamp[index] = content.stamp;
    if (content.lines.isEmpty())
        switchRegistrationOn();
    m_syncIconsLeft = content.lines.size() <= kSyncIconGroup ? INT_MAX : 0;
    // The focus goes to the last button, as AddLaunchButton would leave it,
    // once: moving it through a thousand buttons costs a pair of events each.
    m_loadingGroup = true;
    for (const QString &line : content.lines) {
        const std::optional<TRec> entry = recFromFields(splitEntryLine(line));
        if (!entry)
            continue;
        // Folders are kept too: they open in the file manager. The same look
        // at the file finds the button's icon in the cache.
        const FileStamp stamp = fileStamp(entry->fname);
        if (entry->fname.isEmpty() || !stamp.isFileOrFolder())
            continue;
        // Before the bar's first paint only what it shows is made.
        if (!m_pendingEntries.isEmpty() || (!m_painted && isVisible() && !LaunchBtn.isEmpty()
                                            && LaunchBtn.last()->y() >= FlowLayout1->height())) {
            m_pendingEntries.append({*entry, stamp});
            continue;
        }
        rec = *entry;
        AddLaunchButton(&stamp);
    }
    m_syncIconsLeft = INT_MAX;
    m_loadingGroup = false;
    if (!m_pendingEntries.isEmpty() && !m_pendingInputWatch) {
        m_pendingInputWatch = new InputWatch(this, [this] { makePendingButtons(); });
        qApp->installEventFilter(m_pendingInputWatch);
    }
    // Spare buttons stay shown while the group is built, so the ones reused
    // are not hidden and shown again; the rest go out of sight now.
    for (LaunchButton *spare : std::as_const(m_spareButtons))
        spare->hide();
    if (!LaunchBtn.isEmpty())
        LaunchBtn.last()->setFocus();
    Q_EMIT groupLoaded();
    Q_EMIT groupLinesChanged();
}

bool TForm1::SaveGroup(const GroupEdit &edit)
{
    // Input makes them before it is handled; anything else that saves must
    // not write the group without them.
    makePendingButtons();
    const QString path = groupPath(MenuIndex);
    // A file we could not read may hold entries we never saw.
    if (m_groupUnreadable[MenuIndex]) {
        ErrorReport::show(this, tr(kCannotCreateText).arg(path, tr(kUnreadableFileText)));
        return false;
    }
    const std::optional<FileStamp> &known = m_groupStamp[MenuIndex];
    if (known && fileStamp(path) != *known)
        return saveOverChangedFile(edit);
    QString error;
    if (createHomeOnSave)
        QDir().mkpath(HomePath);
    if (!writeGroupFile(path, LaunchPath[MenuIndex], &error)) {
        ErrorReport::show(this, tr(kCannotCreateText).arg(path, error));
        return false;
    }
    m_groupStamp[MenuIndex] = fileStamp(path);
    return true;
}

bool TForm1::saveOverChangedFile(const GroupEdit &edit)
{
    const QString path = groupPath(MenuIndex);
    const GroupFileContent onDisk = readGroupFile(path);
    // Refused without reading the group again: the user's change stays in
    // memory, and the file stays as it is.
    if (onDisk.status == GroupFileContent::Unreadable) {
        ErrorReport::show(this, tr(kCannotCreateText).arg(path, tr(kUnreadableFileText)));
        return false;
    }
    const std::optional<QStringList> merged = applyGroupEdit(onDisk.lines, edit);
    if (merged && *merged != onDisk.lines) {
        QString error;
        if (!writeGroupFile(path, *merged, &error)) {
            ErrorReport::show(this, tr(kCannotCreateText).arg(path, error));
            return false;
        }
    }
    // The bar shows the file as it is now, one button per line again.
    removeAllButtons();
    LoadGroup(MenuIndex);
    if (merged)
        return true;
    const QString refusal = edit.kind == GroupEdit::Reorder
        ? tr("ファイル \"%1\" が他で変更されたため、並べ替えを保存できません。"
             "ファイルの内容を読み直しましたので、もう一度並べ替えてください。")
        : tr("ファイル \"%1\" が他で変更され、このエントリが見つからないため、変更を保存できません。"
             "ファイルの内容を読み直しました。");
    ErrorReport::show(this, refusal.arg(path));
    return false;
}

void TForm1::rebuildButtons(int32_t size, int32_t corner)
{
    removeAllButtons();
    currentLines().clear();
    bw = size;
    bc = corner;
    FormShow();
}

void TForm1::makePendingButtons()
{
    const QList<PendingEntry> entries = std::exchange(m_pendingEntries, {});
    dropPendingButtons();
    if (entries.isEmpty())
        return;
    // Out of sight: their icons follow from the event loop.
    m_loadingGroup = true;
    m_syncIconsLeft = 0;
    for (const PendingEntry &entry : entries) {
        rec = entry.rec;
        AddLaunchButton(&entry.stamp);
    }
    m_syncIconsLeft = INT_MAX;
    m_loadingGroup = false;
    LaunchBtn.last()->setFocus();
    Q_EMIT groupLinesChanged();
}

void TForm1::dropPendingButtons()
{
    m_pendingEntries.clear();
    if (m_pendingInputWatch) {
        // Deleted later: this may run from within its own filter.
        qApp->removeEventFilter(m_pendingInputWatch);
        m_pendingInputWatch->deleteLater();
        m_pendingInputWatch = nullptr;
    }
}

void TForm1::AddLaunchButton(const FileStamp *stamp)
{
    LaunchButton *button = m_spareButtons.isEmpty() ? newLaunchButton() : m_spareButtons.takeLast();
    button->reuse(rec.fname, saneSide(bw), saneSide(m_settings.pad), bc);
    if (m_settings.FShowhint)
        button->setToolTip(launchHint(rec));
    button->setHoverEffect(m_settings.GlowNo, QColor::fromRgba(m_settings.GlowColor));

    FlowLayout1->addItem(button);
    LaunchBtn.append(button);
    LaunchPath[MenuIndex].append(joinEntryLine(rec));
    if (!m_loadingGroup)
        button->setFocus();
    applyIcon(button, stamp);
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
    PopupMenu1->popup(globalPos);
}

void TForm1::launchButtonStyleChanged(LaunchButton *button)
{
    ButtonApplyStyleLookup(button);
}

void TForm1::ButtonApplyStyleLookup(LaunchButton *button)
{
    applyIcon(button, nullptr);
}

void TForm1::applyIcon(LaunchButton *button, const FileStamp *stamp)
{
    // The button keeps its own path, so a later refresh shows its own icon.
    const QString &path = button->filePath();
    if (const std::optional<QPixmap> icon = IconCache::cachedShownIcon(
            path, stamp ? *stamp : fileStamp(path), button->iconSide(), devicePixelRatioF())) {
        button->setIconPixmap(*icon);
        return;
    }
    // After a switch the buttons in sight get their icons before the paint
    // and the rest of a large group follow from the event loop; at start the
    // bar shows first, so its paint waits for no icon theme.
    const bool inSight = m_painted && FlowLayout1->rect().intersects(button->geometry());
    if (m_syncIconsLeft <= 0 && !inSight) {
        button->setIconWanted(true);
        return;
    }
    --m_syncIconsLeft;
    LoadFileIcon(path, button);
}

void TForm1::startIconQueue()
{
    if (!m_iconTimer) {
        m_iconTimer = new QTimer(this);
        m_iconTimer->setSingleShot(true);
        connect(m_iconTimer, &QTimer::timeout, this, &TForm1::loadQueuedIcons);
    }
    if (!m_iconTimer->isActive())
        m_iconTimer->start(0);
}

void TForm1::loadQueuedIcons()
{
    // The buttons in sight that still want their icons, in order; the
    // others wait until a paint shows them.
    const QRect sight = FlowLayout1->rect();
    int made = 0;
    for (LaunchButton *button : std::as_const(LaunchBtn)) {
        if (!button->iconWanted() || !sight.intersects(button->geometry()))
            continue;
        if (made == kIconsPerTurn) {
            startIconQueue();
            return;
        }
        LoadFileIcon(button->filePath(), button);
        ++made;
    }
}

void TForm1::LoadFileIcon(const QString &path, LaunchButton *button)
{
    const QPixmap own = IconCache::ownIcon(path, button->iconSide(), devicePixelRatioF());
    if (own.isNull()) {
        LoadShellIcon(path, button);
        return;
    }
    button->setIconPixmap(own);
}

void TForm1::LoadShellIcon(const QString &path, LaunchButton *button)
{
    button->setIconPixmap(IconCache::typeIcon(path, button->iconSide(), devicePixelRatioF()));
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
    for (LaunchButton *button : std::as_const(LaunchBtn)) {
        if (m_spareButtons.size() < kMaxSpareButtons) {
            m_spareButtons.append(button);
        } else {
            button->hide();
            button->deleteLater();
        }
    }
    LaunchBtn.clear();
}
