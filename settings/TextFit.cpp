// SPDX-License-Identifier: MIT
#include "settings/TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <vector>

namespace {

// The space Qt's styles leave between a push button's icon and its text.
constexpr int kIconSpacing = 4;
// What a label's, check box's or radio button's text keeps clear of the
// control right of it: without it, "Inner glow" ran into the next radio
// button's circle. A push button has its padding.
constexpr int kAir = 6;

QString shownText(const QWidget *widget)
{
    // A label that wraps its lines has a height to grow into instead.
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->pixmap().isNull() && !label->wordWrap() ? label->text() : QString();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        QString text = button->text();
        // A mnemonic's "&" is not drawn; "&&" is one "&".
        return text.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(u'&').replace(u'\x01', u'&');
    }
    return QString();
}

// One control's place as it was drawn, and as it becomes.
struct Place {
    QWidget *widget;
    QRect drawn;
    int left = 0;
    int width = 0;
};

bool sharesRow(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// The width the text of a label or button is drawn in: a label's contents,
// a button's beside its indicator or icon; 0 without a text.
int textRoom(QWidget *widget)
{
    const QString text = shownText(widget);
    if (text.isEmpty())
        return 0;
    widget->ensurePolished();
    if (const auto *label = qobject_cast<QLabel *>(widget))
        return label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
    const auto *button = qobject_cast<QAbstractButton *>(widget);
    QStyleOptionButton option;
    option.initFrom(widget);
    option.text = text;
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox *>(widget))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<QRadioButton *>(widget))
        contents = QStyle::SE_RadioButtonContents;
    int room = widget->style()->subElementRect(contents, &option, widget).width();
    // A push button draws its icon inside its contents, before the text.
    if (contents == QStyle::SE_PushButtonContents && !button->icon().isNull())
        room -= button->iconSize().width() + kIconSpacing;
    return room;
}

// The width the text takes in its font, from its first glyph's ink to its
// last's; 0 without a text.
int textWidth(QWidget *widget)
{
    const QString text = shownText(widget);
    if (text.isEmpty())
        return 0;
    widget->ensurePolished();
    const QFontMetrics metrics = widget->fontMetrics();
    int width = 0;
    for (const QString &line : text.split(u'\n')) {
        if (line.isEmpty())
            continue;
        // The blank a font leaves before the first glyph and after the last
        // may be cut off unseen: a Japanese caption fills its button so.
        const int blank = std::max(metrics.leftBearing(line.front()), 0)
                          + std::max(metrics.rightBearing(line.back()), 0);
        width = std::max(width, metrics.horizontalAdvance(line) - blank);
    }
    return width;
}

// The width `widget` needs: its text's, with air before a control right of
// it (`followed`), or a group box's for its fitted controls.
int neededWidth(QWidget *widget, bool followed);

void fitChildren(QWidget *container, std::vector<Place> &places)
{
    for (QObject *object : container->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow())
            places.push_back({child, child->geometry(), child->x(), child->width()});
    }
    for (Place &place : places) {
        const bool followed = std::any_of(places.begin(), places.end(), [&place](const Place &after) {
            return after.drawn.left() > place.drawn.right() && sharesRow(after.drawn, place.drawn);
        });
        place.width = std::max(place.width, neededWidth(place.widget, followed));
    }
    // Controls of one left edge and width were drawn as a column: they
    // stay one.
    QMap<std::pair<int, int>, int> columnWidths;
    for (const Place &place : places) {
        int &width = columnWidths[{place.drawn.left(), place.drawn.width()}];
        width = std::max(width, place.width);
    }
    for (Place &place : places)
        place.width = columnWidths.value({place.drawn.left(), place.drawn.width()});

    // Each control starts after every control left of it in its row with
    // the gap drawn between them, and controls of one left edge start
    // together: moving one may move a control already placed, so the
    // places are settled again until none moves.
    QMap<int, int> columnLefts;
    for (bool moved = true; moved;) {
        moved = false;
        for (Place &place : places) {
            int left = std::max(place.left, columnLefts.value(place.drawn.left()));
            for (const Place &before : places) {
                if (before.drawn.right() < place.drawn.left() && sharesRow(before.drawn, place.drawn)) {
                    const int gap = place.drawn.left() - before.drawn.right() - 1;
                    left = std::max(left, before.left + before.width + gap);
                }
            }
            moved = moved || left != place.left;
            place.left = left;
            columnLefts[place.drawn.left()] = std::max(columnLefts.value(place.drawn.left()), left);
        }
    }
}

void applyPlaces(const std::vector<Place> &places)
{
    for (const Place &place : places) {
        if (place.left != place.drawn.left() || place.width != place.drawn.width())
            place.widget->setGeometry(place.left, place.drawn.top(), place.width, place.drawn.height());
    }
}

// The width `container` needs to hold its fitted controls, each with the
// right margin it was drawn with; its controls are moved into their new
// places.
int fitContainer(QWidget *container)
{
    std::vector<Place> places;
    fitChildren(container, places);
    int drawnRight = 0;
    int grown = 0;
    for (const Place &place : places) {
        drawnRight = std::max(drawnRight, place.drawn.right() + 1);
        grown = std::max(grown, place.left + place.width - (place.drawn.right() + 1));
    }
    // What reached as far right as anything keeps reaching there: a box of
    // rows, or a line across the whole dialog, stays as wide as its parent.
    for (Place &place : places) {
        if (place.drawn.right() + 1 == drawnRight)
            place.width = std::max(place.width, place.drawn.width() + grown - (place.left - place.drawn.left()));
    }
    applyPlaces(places);
    return container->width() + grown;
}

int neededWidth(QWidget *widget, bool followed)
{
    if (qobject_cast<QGroupBox *>(widget))
        return fitContainer(widget);
    // A button with an icon shows a value (a colour's), the same in every
    // language: it stays as drawn.
    const auto *button = qobject_cast<QPushButton *>(widget);
    if (button && !button->icon().isNull())
        return widget->width();
    const int air = button || !followed ? 0 : kAir;
    const int missing = textWidth(widget) + air - textRoom(widget);
    return missing > 0 && textWidth(widget) > 0 ? widget->width() + missing : widget->width();
}

} // namespace

void fitTextsInDialog(QWidget *dialog)
{
    const int width = fitContainer(dialog);
    if (width > dialog->width())
        dialog->setFixedSize(width, dialog->height());
}
