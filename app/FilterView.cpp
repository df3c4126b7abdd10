// SPDX-License-Identifier: MIT
#include "app/FilterView.h"

#include "app/RowScroller.h"
#include "core/entries/AccessibleEntry.h"
#include "core/entries/PathRules.h"
#include "core/files/FileStamp.h"
#include "core/groups/GroupSet.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/IconQueue.h"
#include "launcher/LaunchButton.h"

#include <QApplication>
#include <QFile>
#include <QLabel>

namespace {

// The label reaches a little into the plate's lower margin.
constexpr int kLabelBelowLayer = 6;
constexpr int kLabelHeight = 18;

} // namespace

FilterView::FilterView(QWidget *bar, IconLayer *barLayer, Plate *plate, const GroupSet &groups)
    : QObject(bar)
    , m_bar(bar)
    , m_barLayer(barLayer)
    , m_groups(groups)
    , m_layer(new IconLayer(bar))
    , m_icons(new IconQueue(m_layer))
    , m_scroller(new RowScroller(m_layer, plate, this))
    , m_label(new QLabel(bar))
{
    m_layer->setObjectName(QStringLiteral("FilterLayer"));
    // With no match, the focus stays on the bar and typing goes on.
    m_layer->setFocusPolicy(Qt::StrongFocus);
    m_layer->hide();
    m_label->setObjectName(QStringLiteral("FilterText"));
    //: The accessible name of the label that shows what the user typed to filter the buttons.
    m_label->setAccessibleName(tr("絞り込み"));
    m_label->setTextFormat(Qt::RichText);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFile style(QStringLiteral(":/filter.qss"));
    if (style.open(QIODevice::ReadOnly))
        m_label->setStyleSheet(QString::fromUtf8(style.readAll()));
    m_label->hide();
}

void FilterView::open(const FilterButtonLook &look)
{
    m_look = look;
    m_open = true;
    m_icons->barPainted();
    m_layer->setHorizontalGap(m_barLayer->horizontalGap());
    m_layer->setVerticalGap(m_barLayer->verticalGap());
    m_layer->shadowEffect()->setShadowEnabled(m_barLayer->shadowEffect()->shadowEnabled());
    m_layer->shadowEffect()->setShadowColor(m_barLayer->shadowEffect()->shadowColor());
    followBarLayer();
    m_layer->show();
    m_layer->raise();
    m_barLayer->hide();
    m_label->show();
    m_label->raise();
}

void FilterView::close()
{
    if (!m_open)
        return;
    m_open = false;
    // Hiding the focused match would pass the focus on to the bar's first
    // button, and the group's rows would scroll to it: the caller puts the
    // focus back where it was.
    if (QWidget *focus = QApplication::focusWidget(); focus && m_layer->isAncestorOf(focus))
        focus->clearFocus();
    m_barLayer->show();
    m_layer->hide();
    m_label->hide();
    m_matches.clear();
}

void FilterView::followBarLayer()
{
    m_layer->setGeometry(QRect(m_barLayer->mapTo(m_bar, QPoint(0, 0)), m_barLayer->size()));
    m_layer->relayout();
    placeLabel();
}

void FilterView::showMatches(const QList<EntryRef> &matches)
{
    m_matches = matches;
    m_layer->takeItems();
    // Kept in order, so the next key gives the first match the first widget
    // again: most keys only narrow what is shown.
    for (auto it = m_buttons.crbegin(); it != m_buttons.crend(); ++it)
        m_spare.append(*it);
    m_buttons.clear();
    // Buttons out of sight get their icons as they scroll into it.
    m_icons->beginBatch(0);
    for (const EntryRef &match : matches.first(std::min(matches.size(), kMostShown))) {
        const TRec entry = m_groups.group(match.group).entry(match.index);
        LaunchButton *button = m_spare.isEmpty() ? new LaunchButton(QString(), 0, 0, 0, m_layer, this)
                                                 : m_spare.takeLast();
        button->reuse(entry.fname, m_look.iconSide, m_look.padding, m_look.corner);
        const FileStamp stamp = fileStamp(entry.fname);
        button->setFileMissing(!stamp.isFileOrFolder());
        if (m_look.hints)
            button->setToolTip(launchHint(entry));
        // A screen reader hears a match as it hears the entry's own button.
        button->setAccessibleName(accessibleEntryName(entry));
        button->setAccessibleDescription(button->isFileMissing()
                                             ? QCoreApplication::translate("TForm1", "ファイルが見つかりません: %1")
                                                   .arg(accessibleEntryDescription(entry))
                                             : accessibleEntryDescription(entry));
        button->setHoverEffect(m_look.glowNo, m_look.glowColor);
        m_layer->addItem(button);
        m_icons->applyIcon(button, &stamp);
        m_buttons.append(button);
    }
    m_icons->endBatch();
    // The marks count the new rows at once, not after the next event.
    m_scroller->toTop();
    // Shown last time and not now.
    for (LaunchButton *spare : std::as_const(m_spare))
        spare->hide();
    if (m_buttons.isEmpty()) {
        m_layer->setFocus();
    } else {
        m_buttons.first()->setFocus();
        // Enter opens it: the ring says so.
        m_buttons.first()->showFocusRing();
    }
    m_layer->update();
}

void FilterView::showText(const QString &text, const QString &preedit)
{
    QString shown = text.toHtmlEscaped();
    if (!preedit.isEmpty())
        shown += QStringLiteral("<u>%1</u>").arg(preedit.toHtmlEscaped());
    //: How many entries match the filter; %1 is the number.
    const QString count = tr("%1 件").arg(m_matches.size());
    m_label->setText(shown + QStringLiteral("&nbsp;&nbsp;<small>") + count.toHtmlEscaped()
                     + QStringLiteral("</small>"));
    m_label->setAccessibleDescription(text + preedit + u' ' + count);
    m_label->adjustSize();
    placeLabel();
}

void FilterView::placeLabel()
{
    // At the right end of the bottom row, where a wrapped row leaves room,
    // and within the plate: beyond it the window is transparent, and a
    // compositor was seen keeping a trace of the label there.
    const QRect layer = m_layer->geometry();
    const int width = std::min(m_label->sizeHint().width(), std::max(0, layer.width()));
    m_label->setGeometry(layer.right() + 1 - width, layer.bottom() + kLabelBelowLayer - kLabelHeight, width,
                         kLabelHeight);
}

QRect FilterView::textCursorRect() const
{
    const QRect label = m_label->geometry();
    return QRect(label.right(), label.top(), 1, label.height());
}

void FilterView::launchButtonClicked(LaunchButton *button)
{
    const qsizetype i = m_buttons.indexOf(button);
    if (i >= 0 && i < m_matches.size())
        Q_EMIT launchRequested(m_matches.at(i));
}

void FilterView::launchButtonFocusStep(LaunchButton *button, FlowStep step)
{
    const QList<QWidget *> &items = m_layer->items();
    const qsizetype to = flowNeighbour(m_layer->itemRects(), items.indexOf(button), step);
    auto *target = qobject_cast<LaunchButton *>(items.value(to));
    if (!target)
        return;
    target->setFocus(Qt::TabFocusReason);
    target->showFocusRing();
}

void FilterView::launchButtonStyleChanged(LaunchButton *button)
{
    m_icons->ButtonApplyStyleLookup(button);
}
