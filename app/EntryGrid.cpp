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

// Where the element at `i` of a list stands once the one at `from` has been
// moved to `to`.
qsizetype placeAfterMove(qsizetype i, qsizetype from, qsizetype to)
{
    if (i == from)
        return to;
    if (from < i && i <= to)
        return i - 1;
    if (to <= i && i < from)
        return i + 1;
    return i;
}

TRec entryAt(const QModelIndex &row)
{
    return {row.data(GroupModel::FileRole).toString(), row.data(GroupModel::ParamsRole).toString(),
            row.data(GroupModel::HintRole).toString()};
}

} // namespace

EntryGrid::EntryGrid(IconLayer *layer, Plate *plate, Kind kind, Links links, QObject *parent)
    : QObject(parent)
    , m_layer(layer)
    , m_icons(new IconQueue(layer))
    , m_scroller(new RowScroller(layer, plate, this))
    , m_kind(kind)
    , m_links(std::move(links))
{
    // Rows come into sight as they scroll, or as the layer grows.
    connect(layer, &IconLayer::sightChanged, this, &EntryGrid::realize);
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
    m_buttons = QList<LaunchButton *>(rows, nullptr);
    m_layer->resetSlots(rows, QSize(buttonSide(), buttonSide()));
    if (m_kind == Kind::Matches) {
        // The marks count the new rows at once, not after the next event.
        m_scroller->toTop();
    }
    m_icons->beginBatch(m_kind == Kind::Group && rows <= kSyncIconRows ? INT_MAX : 0);
    realize();
    if (m_kind == Kind::Group && rows > 0) {
        // As if each new button had taken the focus in turn.
        buttonFor(rows - 1)->setFocus();
    }
    m_icons->endBatch();
    // Spare buttons stay shown while the rows are built, so the ones reused
    // are not hidden and shown again; the rest go out of sight now.
    hideSpares();
    if (m_kind == Kind::Matches) {
        if (rows == 0) {
            m_layer->setFocus();
        } else {
            LaunchButton *first = buttonFor(0);
            first->setFocus();
            // Enter opens it: the ring says so.
            first->showFocusRing();
        }
    }
    m_layer->update();
}

void EntryGrid::clear()
{
    m_previewRow = m_previewSlot = -1;
    // Taken off the layer still shown: a build hides those it does not reuse.
    m_layer->resetSlots(0, QSize());
    Q_EMIT cleared();
    // Last first: the next build gives the first row the first button
    // again, so a rebuild of the same entries keeps each on its widget.
    for (auto it = m_buttons.crbegin(); it != m_buttons.crend(); ++it) {
        LaunchButton *button = *it;
        if (!button)
            continue;
        if (m_spare.size() < kMaxSpare) {
            m_spare.append(button);
        } else {
            button->hide();
            button->deleteLater();
        }
    }
    m_buttons.clear();
}

void EntryGrid::realize()
{
    if (!m_model || m_realizing || m_buttons.size() != m_layer->slotCount())
        return;
    m_realizing = true;
    const auto [first, last] = m_layer->slotsInSight(1);
    // Those going spare first, so the rows coming into sight reuse them.
    for (qsizetype row = 0; row < m_buttons.size(); ++row) {
        LaunchButton *button = m_buttons.at(row);
        if (!button)
            continue;
        const qsizetype slot = slotOfRow(row);
        if (slot >= first && slot <= last)
            continue;
        // In use: the keyboard's, the pointer's or a drag's.
        if (button->hasFocus() || button->isLifted() || button->isMouseOver() || button->isDropTarget())
            continue;
        m_layer->takeItem(slot);
        m_buttons[row] = nullptr;
        m_spare.append(button);
    }
    for (qsizetype slot = first; slot <= last; ++slot) {
        const qsizetype row = rowOfSlot(slot);
        if (!m_buttons.at(row))
            AddLaunchButton(row);
    }
    hideSpares();
    m_realizing = false;
}

void EntryGrid::hideSpares()
{
    for (LaunchButton *spare : std::as_const(m_spare)) {
        if (!spare->isHidden())
            spare->hide();
    }
}

int EntryGrid::buttonSide() const
{
    return std::max(0, saneSide(m_look.iconSide) + saneSide(m_look.padding));
}

void EntryGrid::layerPainted()
{
    m_icons->barPainted();
}

LaunchButton *EntryGrid::buttonFor(qsizetype row)
{
    if (row < 0 || row >= m_buttons.size())
        return nullptr;
    if (LaunchButton *made = m_buttons.at(row))
        return made;
    return AddLaunchButton(row);
}

qsizetype EntryGrid::rowOf(const LaunchButton *button) const
{
    return button ? m_buttons.indexOf(button) : -1;
}

qsizetype EntryGrid::rowAt(const QPoint &pos) const
{
    const qsizetype slot = m_layer->slotAt(pos);
    return slot < 0 ? -1 : rowOfSlot(slot);
}

qsizetype EntryGrid::slotOf(const LaunchButton *button) const
{
    return button ? m_layer->items().indexOf(button) : -1;
}

void EntryGrid::previewAt(const LaunchButton *carried, qsizetype slot)
{
    const qsizetype row = rowOf(carried);
    const qsizetype shown = slotOf(carried);
    if (row < 0 || shown < 0 || slot < 0 || slot >= m_layer->slotCount() || slot == shown)
        return;
    m_layer->moveItem(shown, slot);
    m_previewRow = slot == row ? -1 : row;
    m_previewSlot = slot == row ? -1 : slot;
    realize();
}

void EntryGrid::endPreview()
{
    if (m_previewRow < 0)
        return;
    m_layer->moveItem(m_previewSlot, m_previewRow);
    m_previewRow = m_previewSlot = -1;
}

qsizetype EntryGrid::slotOfRow(qsizetype row) const
{
    return m_previewRow < 0 ? row : placeAfterMove(row, m_previewRow, m_previewSlot);
}

qsizetype EntryGrid::rowOfSlot(qsizetype slot) const
{
    // The preview's move taken back.
    return m_previewRow < 0 ? slot : placeAfterMove(slot, m_previewSlot, m_previewRow);
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

LaunchButton *EntryGrid::AddLaunchButton(qsizetype row)
{
    LaunchButton *button = m_spare.isEmpty() ? new LaunchButton(QString(), 0, 0, 0, m_layer, this) : m_spare.takeLast();
    const QModelIndex at = m_model->index(int(row), 0);
    const TRec entry = entryAt(at);
    const QVariant stamp = at.data(GroupModel::StampRole);
    button->reuse(entry.fname, saneSide(m_look.iconSide), saneSide(m_look.padding), m_look.corner);
    button->setFileMissing(at.data(GroupModel::MissingRole).toBool());
    button->setToolTip(hintText(launchHint(entry), m_look.hints, button->isFileMissing() ? entry.fname : QString()));
    describe(button, entry);
    button->setHoverEffect(m_look.glowNo, m_look.glowColor);
    m_buttons[row] = button;
    m_layer->setItem(slotOfRow(row), button);
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

void EntryGrid::rowsInserted(const QModelIndex &, int first, int last)
{
    endPreview();
    const qsizetype count = last - first + 1;
    m_buttons.insert(first, count, nullptr);
    m_layer->insertSlots(first, count);
    // Each new button takes the focus in turn: the last keeps it.
    buttonFor(last)->setFocus();
    realize();
}

void EntryGrid::rowsRemoved(const QModelIndex &, int first, int last)
{
    endPreview();
    const qsizetype count = last - first + 1;
    for (qsizetype row = first; row <= last; ++row) {
        // Nothing refers to a button once it is off the layer; those who
        // remember one keep a guarded pointer.
        if (LaunchButton *button = m_buttons.at(row))
            button->deleteLater();
    }
    m_buttons.remove(first, count);
    m_layer->removeSlots(first, count);
    realize();
}

void EntryGrid::rowsMoved(const QModelIndex &, int from, int, const QModelIndex &, int before)
{
    endPreview();
    const qsizetype to = before > from ? before - 1 : before;
    m_layer->moveItem(from, to);
    m_buttons.move(from, to);
    realize();
}

void EntryGrid::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    // A new look at the file alone, or the entry replaced.
    const bool onlyLooked = !roles.isEmpty() && !roles.contains(GroupModel::FileRole);
    for (int row = topLeft.row(); row <= bottomRight.row() && row < m_buttons.size(); ++row) {
        LaunchButton *button = m_buttons.at(row);
        if (!button)
            continue;
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

bool EntryGrid::launchButtonFocusStep(LaunchButton *button, FlowStep step)
{
    const qsizetype from = slotOf(button);
    const qsizetype to = flowNeighbour(m_layer->itemRects(), from, step);
    // One out of sight is made; taking the focus with its ring scrolls it in.
    LaunchButton *target = to < 0 ? nullptr : buttonFor(rowOfSlot(to));
    if (!target)
        return false;
    target->setFocus(Qt::TabFocusReason);
    target->showFocusRing();
    return to != from;
}

void EntryGrid::launchButtonStyleChanged(LaunchButton *button)
{
    m_icons->ButtonApplyStyleLookup(button);
}
