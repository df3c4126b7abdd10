// SPDX-License-Identifier: MIT
#include "app/FilterView.h"

#include "app/EntryGrid.h"
#include "core/filter/MatchModel.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
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
    , m_layer(new IconLayer(bar))
    , m_shown(new MatchModel(groups, this))
    , m_grid(new EntryGrid(m_layer, plate, EntryGrid::Kind::Matches,
                           {[this](LaunchButton *button) {
                                const qsizetype i = m_grid->rowOf(button);
                                if (i >= 0 && i < m_matches.size())
                                    Q_EMIT launchRequested(m_matches.at(i));
                            },
                            {},
                            {},
                            {}},
                           this))
    , m_label(new QLabel(bar))
{
    m_grid->setModel(m_shown);
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

void FilterView::open(const EntryLook &look)
{
    m_grid->setLook(look);
    m_open = true;
    m_grid->layerPainted();
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
    // Most keys only narrow what is shown: the grid gives the first match
    // the first widget again.
    m_shown->setMatches(matches.first(std::min(matches.size(), kMostShown)));
}

const QList<LaunchButton *> &FilterView::buttons() const
{
    return m_grid->buttons();
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
