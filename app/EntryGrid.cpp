// SPDX-License-Identifier: MIT
#include "app/EntryGrid.h"

#include "app/RowScroller.h"
#include "core/entries/AccessibleEntry.h"
#include "core/entries/PathRules.h"
#include "core/groups/GroupModel.h"
#include "launcher/IconLayer.h"
#include "launcher/IconQueue.h"
#include "launcher/LaunchButton.h"

#include <QAbstractItemModel>
#include <QApplication>

#include <climits>

namespace {

// A few icons are made as the buttons are built; with more, the buttons
// show at once and the icons of those in sight follow from the event loop.
constexpr int kSyncIconRows = 12;

// Sizes from a hand-edited settings file can be absurd; a button or icon
// beyond this would only exhaust memory.
constexpr int kMaxSide = 1024;

int saneSide(int value)
{
    return std::clamp(value, 0, kMaxSide);
}

TRec entryAt(const QModelIndex &row)
{
    return {row.data(GroupModel::FileRole).toString(), row.data(GroupModel::ParamsRole).toString(),
            row.data(GroupModel::HintRole).toString()};
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

EntryGrid::EntryGrid(IconLayer *layer, Plate *plate, Kind kind, Links links, QObject *parent)
    : QObject(parent)
    , m_layer(layer)
    , m_icons(new IconQueue(layer))
    , m_scroller(new RowScroller(layer, plate, this))
    , m_kind(kind)
    , m_links(std::move(links))
{
}

void EntryGrid::setModel(const QAbstractItemModel *model)
{
    if (model == m_model)
        return;
    for (const QMetaObject::Connection &connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    clear();
    m_model = model;
    if (!model)
        return;
    m_modelConnections = {
        connect(model, &QAbstractItemModel::modelReset, this, &EntryGrid::rebuild),
        connect(model, &QAbstractItemModel::rowsInserted, this, &EntryGrid::rowsInserted),
        connect(model, &QAbstractItemModel::rowsRemoved, this, &EntryGrid::rowsRemoved),
        connect(model, &QAbstractItemModel::rowsMoved, this, &EntryGrid::rowsMoved),
        connect(model, &QAbstractItemModel::dataChanged, this, &EntryGrid::dataChanged),
    };
}

void EntryGrid::rebuild()
{
    clear();
    if (!m_model)
        return;
    const int rows = m_model->rowCount();
    m_icons->beginBatch(m_kind == Kind::Group && rows <= kSyncIconRows ? INT_MAX : 0);
    m_building = true;
    for (int row = 0; row < rows; ++row) {
        // Before the first paint only what it shows is made.
        if (!m_painted && m_layer->isVisible() && !m_buttons.isEmpty() && m_buttons.last()->y() >= m_layer->height()) {
            m_waitingFrom = row;
            break;
        }
        AddLaunchButton(row);
    }
    m_icons->endBatch();
    m_building = false;
    if (m_waitingFrom >= 0 && !m_inputWatch) {
        m_inputWatch = new InputWatch(this, [this] { makeWaitingButtons(); });
        qApp->installEventFilter(m_inputWatch);
    }
    if (m_kind == Kind::Matches) {
        // The marks count the new rows at once, not after the next event.
        m_scroller->toTop();
    }
    // Spare buttons stay shown while the rows are built, so the ones reused
    // are not hidden and shown again; the rest go out of sight now.
    for (LaunchButton *spare : std::as_const(m_spare))
        spare->hide();
    if (m_kind == Kind::Group) {
        // Once: moving it through a thousand buttons costs a pair of events each.
        if (!m_buttons.isEmpty())
            m_buttons.last()->setFocus();
    } else if (m_buttons.isEmpty()) {
        m_layer->setFocus();
    } else {
        m_buttons.first()->setFocus();
        // Enter opens it: the ring says so.
        m_buttons.first()->showFocusRing();
    }
    m_layer->update();
}

void EntryGrid::clear()
{
    stopWaiting();
    // Taken off the layer still shown: a build hides those it does not reuse.
    m_layer->takeItems();
    Q_EMIT cleared();
    // Last first: the next build gives the first row the first button
    // again, so a rebuild of the same entries keeps each on its widget.
    for (auto it = m_buttons.crbegin(); it != m_buttons.crend(); ++it) {
        LaunchButton *button = *it;
        if (m_spare.size() < kMaxSpare) {
            m_spare.append(button);
        } else {
            button->hide();
            button->deleteLater();
        }
    }
    m_buttons.clear();
}

void EntryGrid::layerPainted()
{
    if (m_painted)
        return;
    m_painted = true;
    m_icons->barPainted();
    // After the paint has reached the screen, not within it.
    QMetaObject::invokeMethod(this, &EntryGrid::makeWaitingButtons, Qt::QueuedConnection);
}

qsizetype EntryGrid::rowOf(const LaunchButton *button) const
{
    return button ? m_buttons.indexOf(button) : -1;
}

qsizetype EntryGrid::rowAt(const QPoint &pos) const
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons.at(i)->geometry().contains(pos))
            return i;
    }
    return -1;
}

QString EntryGrid::hintText(const QString &hint, bool hintsOn, const QString &missingFile)
{
    const QString shown = hintsOn ? hint : QString();
    if (missingFile.isEmpty())
        return shown;
    //: %1 is the path of an entry's file.
    const QString missing = tr("ファイルが見つかりません: %1").arg(missingFile);
    return shown.isEmpty() ? missing : missing + u'\n' + shown;
}

void EntryGrid::describe(LaunchButton *button, const TRec &entry)
{
    button->setAccessibleName(accessibleEntryName(entry));
    const QString description = accessibleEntryDescription(entry);
    button->setAccessibleDescription(button->isFileMissing() ? tr("ファイルが見つかりません: %1").arg(description)
                                                             : description);
}

LaunchButton *EntryGrid::AddLaunchButton(int row)
{
    LaunchButton *button = m_spare.isEmpty() ? new LaunchButton(QString(), 0, 0, 0, m_layer, this) : m_spare.takeLast();
    const QModelIndex at = m_model->index(row, 0);
    const TRec entry = entryAt(at);
    const QVariant stamp = at.data(GroupModel::StampRole);
    button->reuse(entry.fname, saneSide(m_look.iconSide), saneSide(m_look.padding), m_look.corner);
    button->setFileMissing(at.data(GroupModel::MissingRole).toBool());
    button->setToolTip(hintText(launchHint(entry), m_look.hints, button->isFileMissing() ? entry.fname : QString()));
    describe(button, entry);
    button->setHoverEffect(m_look.glowNo, m_look.glowColor);
    m_layer->addItem(button);
    m_buttons.append(button);
    if (!m_building)
        button->setFocus();
    applyIcon(button, stamp);
    return button;
}

void EntryGrid::applyIcon(LaunchButton *button, const QVariant &stamp)
{
    if (!stamp.isValid()) {
        m_icons->applyIcon(button, nullptr);
        return;
    }
    const auto looked = stamp.value<FileStamp>();
    m_icons->applyIcon(button, &looked);
}

void EntryGrid::makeWaitingButtons()
{
    const qsizetype from = m_waitingFrom;
    stopWaiting();
    if (from < 0 || !m_model)
        return;
    // Out of sight: their icons follow from the event loop.
    m_building = true;
    m_icons->beginBatch(0);
    for (int row = int(from); row < m_model->rowCount(); ++row)
        AddLaunchButton(row);
    m_icons->endBatch();
    m_building = false;
    // The matches keep the focus on the first, where their build left it.
    if (m_kind == Kind::Group && !m_buttons.isEmpty())
        m_buttons.last()->setFocus();
}

void EntryGrid::stopWaiting()
{
    m_waitingFrom = -1;
    if (m_inputWatch) {
        // Deleted later: this may run from within its own filter.
        qApp->removeEventFilter(m_inputWatch);
        m_inputWatch->deleteLater();
        m_inputWatch = nullptr;
    }
}

void EntryGrid::rowsInserted(const QModelIndex &, int first, int last)
{
    // Buttons still to be made would land in the wrong places.
    if (m_waitingFrom >= 0) {
        rebuild();
        return;
    }
    for (int row = first; row <= last; ++row) {
        AddLaunchButton(row);
        moveButton(m_buttons.size() - 1, row);
    }
}

void EntryGrid::rowsRemoved(const QModelIndex &, int first, int last)
{
    if (m_waitingFrom >= 0) {
        rebuild();
        return;
    }
    for (int row = last; row >= first; --row) {
        LaunchButton *button = m_buttons.takeAt(row);
        m_layer->removeItem(button);
        // Nothing refers to a button once it is off the layer; those who
        // remember one keep a guarded pointer.
        button->deleteLater();
    }
}

void EntryGrid::rowsMoved(const QModelIndex &, int from, int, const QModelIndex &, int before)
{
    if (m_waitingFrom >= 0) {
        rebuild();
        return;
    }
    moveButton(from, before > from ? before - 1 : before);
}

void EntryGrid::moveButton(qsizetype from, qsizetype to)
{
    // The layer's order may differ from the buttons' while a drag previews.
    m_layer->moveItem(m_layer->items().indexOf(m_buttons.at(from)), to);
    m_buttons.move(from, to);
}

void EntryGrid::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    if (m_waitingFrom >= 0) {
        rebuild();
        return;
    }
    // A new look at the file alone, or the entry replaced.
    const bool onlyLooked = !roles.isEmpty() && !roles.contains(GroupModel::FileRole);
    for (int row = topLeft.row(); row <= bottomRight.row() && row < m_buttons.size(); ++row) {
        LaunchButton *button = m_buttons.at(row);
        const QModelIndex at = m_model->index(row, 0);
        const TRec entry = entryAt(at);
        const QVariant stamp = at.data(GroupModel::StampRole);
        const bool missing = at.data(GroupModel::MissingRole).toBool();
        if (onlyLooked) {
            button->setFileMissing(missing);
            button->setToolTip(hintText(launchHint(entry), m_look.hints, missing ? entry.fname : QString()));
            describe(button, entry);
            applyIcon(button, stamp);
            continue;
        }
        const bool newFile = button->filePath() != entry.fname;
        const bool wasMissing = button->isFileMissing();
        if (newFile)
            button->reuse(entry.fname, saneSide(m_look.iconSide), saneSide(m_look.padding), m_look.corner);
        // A replaced entry's file was looked at anew: one that went or came
        // back since keeps its path and still changes its look.
        if (newFile || button->isFileMissing() != missing) {
            button->setFileMissing(missing);
            applyIcon(button, stamp);
        }
        describe(button, entry);
        // The hint as the user typed it. With hints off a button keeps the
        // tip it was built with, but a missing file's text goes with the
        // file's return.
        if (m_look.hints || missing || wasMissing)
            button->setToolTip(hintText(entry.hint, m_look.hints, missing ? entry.fname : QString()));
    }
}

void EntryGrid::launchButtonClicked(LaunchButton *button)
{
    if (m_links.clicked)
        m_links.clicked(button);
}

void EntryGrid::launchButtonEntered(LaunchButton *button)
{
    if (m_links.entered)
        m_links.entered(button);
}

void EntryGrid::launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos)
{
    if (m_links.menuRequested)
        m_links.menuRequested(button, globalPos);
}

void EntryGrid::launchButtonDragRequested(LaunchButton *button, const QPoint &hotSpot)
{
    if (m_links.dragRequested)
        m_links.dragRequested(button, hotSpot);
}

void EntryGrid::launchButtonFocusStep(LaunchButton *button, FlowStep step)
{
    const QList<QWidget *> &items = m_layer->items();
    const qsizetype to = flowNeighbour(m_layer->itemRects(), items.indexOf(button), step);
    auto *target = qobject_cast<LaunchButton *>(items.value(to));
    if (!target)
        return;
    target->setFocus(Qt::TabFocusReason);
    target->showFocusRing();
}

void EntryGrid::launchButtonStyleChanged(LaunchButton *button)
{
    m_icons->ButtonApplyStyleLookup(button);
}
