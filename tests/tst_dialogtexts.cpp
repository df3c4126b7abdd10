// SPDX-License-Identifier: MIT
// Both dialogs in Japanese and in English: every text of a label, button,
// check box, radio button and group box fits the room it is drawn in, no two
// of them overlap, and none is cut off by the box or dialog holding it. The
// rooms are measured here from the style, apart from the dialogs' own fitting.
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "settings/Unit2.h"
#include "BarFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

enum class Dialog { Settings, Editor };

QString drawnText(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return QString(button->text()).remove(u'&');
    return QString();
}

// Where the style draws the widget's text, in the widget's coordinates.
QRect textRect(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->contentsRect().adjusted(label->margin(), 0, -label->margin(), 0);
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    QStyleOptionButton option;
    option.initFrom(widget);
    option.text = button->text();
    QStyle *style = widget->style();
    if (qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget)) {
        const bool radio = qobject_cast<const QRadioButton *>(widget);
        const int indicator = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                                 &option, widget)
                              + style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                                         : QStyle::PM_CheckBoxLabelSpacing,
                                                   &option, widget);
        return widget->rect().adjusted(indicator, 0, 0, 0);
    }
    // A push button's style sheet cuts its text at its padding.
    return style->subElementRect(QStyle::SE_PushButtonContents, &option, widget);
}

QRect inDialog(const QWidget *widget, const QWidget *dialog)
{
    return QRect(widget->mapTo(dialog, QPoint(0, 0)), widget->size());
}

} // namespace

Q_DECLARE_METATYPE(Dialog)

class TestDialogTexts : public QObject, protected BarFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }
    void textsFit_data();
    void textsFit();
};

void TestDialogTexts::textsFit_data()
{
    QTest::addColumn<Dialog>("dialog");
    QTest::addColumn<bool>("english");
    QTest::newRow("settings, Japanese") << Dialog::Settings << false;
    QTest::newRow("settings, English") << Dialog::Settings << true;
    QTest::newRow("editor, Japanese") << Dialog::Editor << false;
    QTest::newRow("editor, English") << Dialog::Editor << true;
}

void TestDialogTexts::textsFit()
{
    QFETCH(Dialog, dialog);
    QFETCH(bool, english);

    QTranslator translator;
    if (english) {
        QVERIFY(translator.load(u":/i18n/quillbrook_en.qm"_s));
        QCoreApplication::installTranslator(&translator);
    }
    TForm1 form1(home());
    std::unique_ptr<QWidget> shown;
    if (dialog == Dialog::Settings)
        shown = std::make_unique<TForm2>(&form1);
    else
        shown = std::make_unique<TForm3>(&form1);
    QCoreApplication::removeTranslator(&translator);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    const QRect whole = shown->rect();
    if (!english) // drawn for the Japanese texts, kept as drawn
        QCOMPARE(shown->size(), dialog == Dialog::Settings ? TForm2::kClientSize : TForm3::kClientSize);

    QList<QWidget *> texts;
    for (QWidget *widget : shown->findChildren<QWidget *>()) {
        if (!widget->isVisible() || drawnText(widget).isEmpty())
            continue;
        // A colour button's text is a value, not the interface's.
        if (const auto *button = qobject_cast<QPushButton *>(widget); button && !button->icon().isNull())
            continue;
        texts.append(widget);
        const QString name = widget->objectName().isEmpty() ? drawnText(widget) : widget->objectName();
        const QRect room = textRect(widget);
        // The ink: the blank a font leaves around its glyphs may be cut. Its
        // box is rounded outwards to whole pixels, by up to one in all.
        const int width = widget->fontMetrics().tightBoundingRect(drawnText(widget)).width() - 1;
        QVERIFY2(width <= room.width(),
                 qPrintable(u"%1: the text takes %2 px of %3"_s.arg(name).arg(width).arg(room.width())));
        // A parent cuts off what lies outside it.
        for (QWidget *parent = widget->parentWidget(); parent != shown.get(); parent = parent->parentWidget()) {
            QVERIFY2(parent->rect().contains(QRect(widget->mapTo(parent, QPoint(0, 0)), widget->size())),
                     qPrintable(u"%1 sticks out of its box"_s.arg(name)));
        }
        QVERIFY2(whole.contains(inDialog(widget, shown.get())), qPrintable(u"%1 sticks out"_s.arg(name)));
    }
    QVERIFY(texts.size() >= (dialog == Dialog::Settings ? 30 : 5));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        for (qsizetype j = i + 1; j < texts.size(); ++j) {
            QVERIFY2(!inDialog(texts[i], shown.get()).intersects(inDialog(texts[j], shown.get())),
                     qPrintable(u"\"%1\" and \"%2\" overlap"_s.arg(drawnText(texts[i]), drawnText(texts[j]))));
        }
    }
    // A group box's title, in its bold font, within the box and clear of
    // the texts in it. The style places it by the plain font; bold runs a
    // little on, over the frame line and never past the box.
    for (QGroupBox *box : shown->findChildren<QGroupBox *>()) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        QFont bold = box->font();
        bold.setBold(true);
        title.setWidth(std::max(title.width(), QFontMetrics(bold).horizontalAdvance(box->title())));
        QVERIFY2(box->rect().adjusted(0, 0, -6, 0).contains(title), qPrintable(box->title())); // 6: the rounded corner
        for (QWidget *text : std::as_const(texts)) {
            if (text->parentWidget() == box)
                QVERIFY2(!title.intersects(text->geometry()), qPrintable(box->title() + u" / "_s + drawnText(text)));
        }
    }
}

QTEST_MAIN(TestDialogTexts)
#include "tst_dialogtexts.moc"
