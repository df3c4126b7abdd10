// SPDX-License-Identifier: MIT
#include "app/Plate.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"
#include "settings/ColorButton.h"
#include "settings/ColorComboBox.h"
#include "settings/SummonKeyBox.h"
#include "core/settings/IniFile.h"
#include "settings/Unit2.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

// Changes a control's value as a user would, to some other valid value.
void changeValue(QWidget *control)
{
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(spin->value() < spin->maximum() ? spin->value() + 1 : spin->value() - 1);
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(control))
        spin->setValue(spin->value() < 0.95 ? spin->value() + 0.1 : spin->value() - 0.1);
    else if (auto *radio = qobject_cast<QRadioButton *>(control))
        radio->setChecked(true);
    else if (auto *check = qobject_cast<QCheckBox *>(control))
        check->toggle();
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
    else if (auto *colour = qobject_cast<ColorButton *>(control))
        colour->setColor(colour->color() ^ 0x00FFFFFF);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(edit->text() + u'x');
    else
        QFAIL("unknown control");
}

// Sets a control to the value it already has.
void setSameValue(QWidget *control)
{
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(spin->value());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(control))
        spin->setValue(spin->value());
    else if (auto *button = qobject_cast<QAbstractButton *>(control); button && button->isCheckable())
        button->setChecked(button->isChecked());
}

} // namespace

class TestSettingsDialog : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;

    QString iniFile() const { return file(u"Quillbrook.ini"_s); }

    // Creates the named files and a group list file of one line each.
    void writeGroup(int group, const QStringList &names);
    // The windows as the program creates them, the bar's first showing
    // included (which loads the current group).
    void start();
    void openTwice();

    QStringList buttonFiles() const;
    QStringList lineFiles() const;
    // The same of the order list's lines, which Up, Down and Delete edit.
    QStringList orderFiles() const;
    QStringList fileLines(int group) const;
    QStringList listItems() const;
    // Everything of the bar's state the dialog may touch.
    QVariantMap barState() const;

private Q_SLOTS:
    void init();
    void cleanup();

    void windowAndCaptions();
    void openingLoadsEveryControl();
    void isChangeAtFirstAndSecondOpening();
    void changeHandlers_data();
    void changeHandlers();
    void orderButtons_data();
    void orderButtons();
    void closingRebuildsFromFile_data();
    void closingRebuildsFromFile();
    void confirmFailureKeepsDialogOpen();
    void listFollowsCurrentGroup();
    void groupLoadPullsSizesIntoRange_data();
    void groupLoadPullsSizesIntoRange();
    void closingAppliesEverything();
    void unlistedColoursBecomeListed();
    void emptyGroupTransparency();
    void writeFailureKeepsDialogOpen();
    void escapeClosesAsExitDoes_data();
    void escapeClosesAsExitDoes();
    void settingsCommandWhileOpen();
    void summonKeyChoice();
    void typedValueOutsideRange_data();
    void typedValueOutsideRange();
};

void TestSettingsDialog::init()
{
    QVERIFY(setUp());
    writeGroup(0, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
}

void TestSettingsDialog::cleanup()
{
    m_form2.reset();
    m_form1.reset();
    tearDown();
}

void TestSettingsDialog::writeGroup(int group, const QStringList &names)
{
    QByteArray text;
    for (const QString &name : names) {
        QVERIFY(writeBytes(file(name), "x"));
        text += (file(name) + u",,"_s + name).toUtf8() + "\r\n";
    }
    QVERIFY(writeBytes(file(groupFileName(group)), text));
}

void TestSettingsDialog::start()
{
    m_form1 = std::make_unique<TForm1>(home());
    m_form2 = std::make_unique<TForm2>(m_form1.get());
    m_form1->setDialogs(m_form2.get(), nullptr);
    // The bar stays hidden: its first showing is only what it runs.
    BarProbe::FormShow(*m_form1);
}

void TestSettingsDialog::openTwice()
{
    m_form2->show();
    QVERIFY(m_form2->close());
    m_form2->show();
    QVERIFY(!m_form2->isChange);
}

QStringList TestSettingsDialog::buttonFiles() const
{
    QStringList names;
    for (const LaunchButton *button : std::as_const(BarProbe::LaunchBtn(*m_form1)))
        names.append(fileNamePart(button->filePath()));
    return names;
}

QStringList TestSettingsDialog::lineFiles() const
{
    QStringList names;
    for (const QString &line : m_form1->LaunchPath[m_form1->MenuIndex()]->lines())
        names.append(fileNamePart(splitEntryLine(line).value(0)));
    return names;
}

QStringList TestSettingsDialog::orderFiles() const
{
    QStringList names;
    for (const QString &line : m_form2->orderLines())
        names.append(fileNamePart(splitEntryLine(line).value(0)));
    return names;
}

QStringList TestSettingsDialog::fileLines(int group) const
{
    QStringList names;
    for (const QString &line : splitTextLines(QString::fromUtf8(readBytes(file(groupFileName(group))))))
        names.append(fileNamePart(splitEntryLine(line).value(0)));
    return names;
}

QStringList TestSettingsDialog::listItems() const
{
    QStringList items;
    for (int i = 0; i < m_form2->ListBox1->count(); ++i)
        items.append(m_form2->ListBox1->item(i)->text());
    return items;
}

QVariantMap TestSettingsDialog::barState() const
{
    const TForm1 *f = m_form1.get();
    QStringList names;
    for (int n = 0; n < kGroupCount; ++n)
        names.append(f->groupName(n));
    return {
        {u"bw"_s, f->buttonIconSize().first},
        {u"bc"_s, f->buttonIconSize().second},
        {u"bw2"_s, f->settings().bw2},
        {u"bc2"_s, f->settings().bc2},
        {u"pad"_s, f->settings().pad},
        {u"GlowNo"_s, f->settings().GlowNo},
        {u"GlowColor"_s, f->settings().GlowColor},
        {u"FShowhint"_s, f->settings().FShowhint},
        {u"isStealth"_s, f->settings().isStealth},
        {u"isTop"_s, f->settings().isTop},
        {u"isShowTaskBar"_s, f->settings().isShowTaskBar},
        {u"color0"_s, f->settings().color0},
        {u"color1"_s, f->settings().color1},
        {u"isGradient"_s, f->settings().isGradient},
        {u"Direction"_s, f->settings().Direction},
        {u"gapH"_s, BarProbe::FlowLayout1(*f)->horizontalGap()},
        {u"gapV"_s, BarProbe::FlowLayout1(*f)->verticalGap()},
        {u"shadow"_s, BarProbe::ShadowEffect1(*f)->shadowEnabled()},
        {u"shadowColor"_s, BarProbe::ShadowEffect1(*f)->shadowColor()},
        {u"opacity"_s, BarProbe::Rectangle1(*f)->opacity()},
        {u"names"_s, names},
        {u"timer"_s, BarProbe::Timer1(*f)->isActive()},
        {u"lines"_s, f->LaunchPath[f->MenuIndex()]->lines()},
        {u"buttons"_s, buttonFiles()},
    };
}

void TestSettingsDialog::windowAndCaptions()
{
    start();
    QVERIFY(m_form2->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(m_form2->size(), QSize(541, 591));
    QCOMPARE(m_form2->windowTitle(), u"設定"_s);
    QVERIFY(!m_form2->styleSheet().isEmpty());

    const std::pair<const char *, QString> captions[] = {
        {"Normal", u"Normal"_s},
        {"Top", u"Top"_s},
        {"Stealth", u"Stealth"_s},
        {"TaskBarCheck", u"タスクバーに表示"_s},
        {"GraCheck", u"グラジエント"_s},
        {"NonGlow", u"Effect無し"_s},
        {"OuterGlow", u"外側輝き"_s},
        {"InnerGlow", u"内側輝き"_s},
        {"Rotate", u"回転"_s},
        {"Faed", u"フェード"_s},
        {"Mag", u"拡大"_s},
        {"Shadow", u"影を付ける"_s},
        {"ShowHint", u"ヒント表示 "_s},
        {"UpBtn", u"Up"_s},
        {"DownBtn", u"Down"_s},
        {"DelBtn", u"Delete"_s},
        {"ConfirmBtn", u"確定"_s},
        {"ExitBtn", u"Exit"_s},
        {"SummonKeyOn", u"呼び出しキー"_s},
    };
    for (const auto &[name, caption] : captions) {
        const auto *button = m_form2->findChild<QAbstractButton *>(QLatin1String(name));
        QVERIFY2(button, name);
        QCOMPARE(button->text(), caption);
    }
    QCOMPARE(m_form2->TaskBarCheck->toolTip(), u"再起動後に有効になります"_s);
    QStringList boxes;
    for (const QGroupBox *box : m_form2->findChildren<QGroupBox *>())
        boxes.append(box->title());
    boxes.sort();
    QStringList expectedBoxes{u"スタイル"_s, u"背景"_s, u"Icon"_s, u"Effect設定"_s, u"順番入れ替え"_s, u"グループ名"_s};
    expectedBoxes.sort();
    QCOMPARE(boxes, expectedBoxes);
    QStringList labels;
    for (const QLabel *label : m_form2->findChildren<QLabel *>())
        labels.append(label->text());
    for (const QString &text :
         {u"透明度"_s, u"アイコン大きさ"_s, u"+"_s, u"余白"_s, u"丸み アイコンの半分で円"_s, u"輝色"_s, u"水平間隔"_s,
          u"垂直間隔"_s, u"No.1"_s, u"No.5"_s, QStringLiteral("Quillbrook " QB_VERSION)})
        QVERIFY2(labels.contains(text), qPrintable(text));
    QCOMPARE(m_form2->DirectionCombo->count(), 3);
    QCOMPARE(m_form2->DirectionCombo->itemText(2), u"斜め"_s);

    // Closing hides the dialog; it lives on.
    m_form2->show();
    QVERIFY(m_form2->close());
    QVERIFY(m_form2->isHidden());
}

void TestSettingsDialog::openingLoadsEveryControl()
{
    QVERIFY(writeBytes(iniFile(), "[Form]\r\nTaskBar=1\r\n"
                                  "[Icon]\r\nWidth=40\r\nCorner=6\r\nGapH=70\r\nGapV=-3\r\nShadow=0\r\n"
                                  "Glow=2\r\nPadding=5\r\n"
                                  "[Hint]\r\nShow=0\r\n"
                                  "[Mode]\r\nStealth=1\r\nTop=1\r\n"
                                  "[Menu]\r\nName0=Tools\r\nName1=\r\nName2=A&B\r\nName3=メニュー4\r\nName4=x\r\n"
                                  "[Color]\r\nGlow=-16711681\r\nShadow=-65536\r\n"
                                  "[Back]\r\nOpa=0.5\r\nColor0=-2130771968\r\nColor1=16777215\r\n"
                                  "Gradient=1\r\nDirection=1\r\n"));
    start();
    BarProbe::FlowLayout1(*m_form1)->setOpacity(0);
    QVERIFY(BarProbe::Timer1(*m_form1)->isActive());
    const int secondButtonX = BarProbe::LaunchBtn(*m_form1).at(1)->x();

    m_form2->show();
    TForm2 *d = m_form2.get();
    QVERIFY(d->InnerGlow->isChecked());
    QCOMPARE(d->effectGroup->checkedButton(), d->InnerGlow);
    QVERIFY(d->Stealth->isChecked());
    QVERIFY(d->Top->isChecked());
    QVERIFY(!d->Normal->isChecked());
    // The buttons neither fade nor hide while the dialog is open.
    QVERIFY(!BarProbe::Timer1(*m_form1)->isActive());
    QCOMPARE(BarProbe::FlowLayout1(*m_form1)->opacity(), 1.0);
    // Gaps outside the boxes' range are pulled in, and the buttons move.
    QCOMPARE(d->HGap->value(), 50);
    QCOMPARE(d->VGap->value(), 0);
    QCOMPARE(BarProbe::FlowLayout1(*m_form1)->horizontalGap(), 50);
    QCOMPARE(BarProbe::FlowLayout1(*m_form1)->verticalGap(), 0);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1).at(1)->x(), secondButtonX - 20);
    QCOMPARE(d->IconWidth->value(), 40);
    QCOMPARE(d->IconCorner->value(), 6);
    QVERIFY(!d->ShowHint->isChecked());
    QCOMPARE(listItems(), (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
    QCOMPARE(d->selectedRow(), -1);
    QCOMPARE(d->Edit1->text(), u"Tools"_s);
    QCOMPARE(d->Edit2->text(), QString());
    QCOMPARE(d->Edit3->text(), u"A&B"_s);
    QCOMPARE(d->Edit4->text(), u"メニュー4"_s);
    QCOMPARE(d->Edit5->text(), u"x"_s);
    QCOMPARE(d->ColorComboBox1->currentText(), u"Aqua"_s);
    QCOMPARE(d->ColorComboBox2->currentText(), u"Red"_s);
    // The box shows the shadow as it is drawn: off.
    QVERIFY(!d->Shadow->isChecked());
    QVERIFY(!BarProbe::ShadowEffect1(*m_form1)->shadowEnabled());
    QCOMPARE(d->OpaSpin->value(), 0.5);
    QCOMPARE(d->BackColor0->color(), QRgb(0x80FF0000));
    QCOMPARE(d->BackColor1->color(), QRgb(0x00FFFFFF));
    QVERIFY(d->GraCheck->isChecked());
    QCOMPARE(d->DirectionCombo->currentIndex(), 1);
    QVERIFY(d->TaskBarCheck->isChecked());
    QCOMPARE(d->PadSpin->value(), 5);
    QVERIFY(d->isChange);
}

void TestSettingsDialog::isChangeAtFirstAndSecondOpening()
{
    start();
    // Button widgets are reused, so a rebuild shows as the lines shown anew.
    QSignalSpy rebuilds(m_form1.get(), &TForm1::groupLinesChanged);
    QSignalSpy loads(m_form1.get(), &TForm1::groupLoaded);

    // First opening, closed at once with Exit: the buttons are rebuilt from
    // the group's entries, its file not read again, and the settings file is
    // written.
    m_form2->show();
    QVERIFY(m_form2->isChange);
    QTest::mouseClick(m_form2->ExitBtn, Qt::LeftButton);
    QVERIFY(m_form2->isHidden());
    QCOMPARE(buttonFiles(), (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
    QCOMPARE(rebuilds.size(), 1);
    QCOMPARE(loads.size(), 0);
    QVERIFY(QFile::exists(iniFile()));
    const QList<LaunchButton *> rebuilt = BarProbe::LaunchBtn(*m_form1);

    // Second opening, nothing touched: the same buttons stay; the settings
    // file is written all the same.
    QVERIFY(QFile::remove(iniFile()));
    m_form2->show();
    QVERIFY(!m_form2->isChange);
    QVERIFY(m_form2->close());
    QCOMPARE(BarProbe::LaunchBtn(*m_form1), rebuilt);
    QCOMPARE(rebuilds.size(), 1);
    QVERIFY(QFile::exists(iniFile()));
}

void TestSettingsDialog::changeHandlers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("setsIsChange");
    QTest::addColumn<QStringList>("barChanges");

    const QStringList none;
    QTest::newRow("IconWidth") << "IconWidth" << true << QStringList{u"bw2"_s};
    QTest::newRow("IconCorner") << "IconCorner" << true << QStringList{u"bc2"_s};
    QTest::newRow("PadSpin") << "PadSpin" << true << none;
    QTest::newRow("ShowHint") << "ShowHint" << true << none;
    for (const char *radio : {"NonGlow", "OuterGlow", "InnerGlow", "Rotate", "Mag"})
        QTest::newRow(radio) << radio << true << none;
    QTest::newRow("HGap") << "HGap" << false << QStringList{u"gapH"_s};
    QTest::newRow("VGap") << "VGap" << false << QStringList{u"gapV"_s};
    QTest::newRow("Shadow") << "Shadow" << false << QStringList{u"shadow"_s};
    // Taking effect only at closing.
    for (const char *name : {"Top", "Stealth", "TaskBarCheck", "OpaSpin", "GraCheck", "DirectionCombo", "BackColor0",
                             "BackColor1", "ColorComboBox1", "ColorComboBox2", "Edit1"})
        QTest::newRow(name) << name << false << none;
}

void TestSettingsDialog::changeHandlers()
{
    QFETCH(QString, control);
    QFETCH(bool, setsIsChange);
    QFETCH(QStringList, barChanges);

    start();
    openTwice();
    auto *widget = m_form2->findChild<QWidget *>(control);
    QVERIFY(widget);
    const QVariantMap before = barState();

    changeValue(widget);
    QCOMPARE(m_form2->isChange, setsIsChange);
    const QVariantMap after = barState();
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (barChanges.contains(it.key()))
            QVERIFY2(after.value(it.key()) != it.value(), qPrintable(it.key()));
        else
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
    QCOMPARE(m_form1->settings().bw2, m_form2->IconWidth->value());
    QCOMPARE(m_form1->settings().bc2, m_form2->IconCorner->value());
    QCOMPARE(BarProbe::FlowLayout1(*m_form1)->horizontalGap(), m_form2->HGap->value());
    QCOMPARE(BarProbe::FlowLayout1(*m_form1)->verticalGap(), m_form2->VGap->value());
    QCOMPARE(BarProbe::ShadowEffect1(*m_form1)->shadowEnabled(), m_form2->Shadow->isChecked());

    // Setting a control to the value it shows raises nothing.
    m_form2->isChange = false;
    setSameValue(widget);
    QVERIFY(!m_form2->isChange);
}

void TestSettingsDialog::orderButtons_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("selectedAfter");

    const QStringList abc{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s};
    for (const char *button : {"UpBtn", "DownBtn", "DelBtn"})
        QTest::addRow("nothing selected, %s", button) << -1 << button << abc << -1;
    QTest::newRow("Up on the first") << 0 << "UpBtn" << abc << 0;
    QTest::newRow("Down on the last") << 2 << "DownBtn" << abc << 2;
    QTest::newRow("Up") << 2 << "UpBtn" << QStringList{u"a.txt"_s, u"c.txt"_s, u"b.txt"_s} << 1;
    QTest::newRow("Down") << 0 << "DownBtn" << QStringList{u"b.txt"_s, u"a.txt"_s, u"c.txt"_s} << 1;
    QTest::newRow("Delete") << 1 << "DelBtn" << QStringList{u"a.txt"_s, u"c.txt"_s} << -1;
}

void TestSettingsDialog::orderButtons()
{
    QFETCH(int, selected);
    QFETCH(QString, button);
    QFETCH(QStringList, lines);
    QFETCH(int, selectedAfter);

    start();
    openTwice();
    const QByteArray fileBefore = readBytes(file(groupFileName(0)));
    const QList<LaunchButton *> buttons = BarProbe::LaunchBtn(*m_form1);
    m_form2->ListBox1->setCurrentRow(selected);

    QTest::mouseClick(m_form2->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(orderFiles(), lines);
    QCOMPARE(listItems(), lines);
    QCOMPARE(m_form2->selectedRow(), selectedAfter);
    // Nothing is saved, nothing marked, no button touched.
    QVERIFY(!m_form2->isChange);
    QCOMPARE(readBytes(file(groupFileName(0))), fileBefore);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1), buttons);
}

void TestSettingsDialog::closingRebuildsFromFile_data()
{
    QTest::addColumn<bool>("secondOpening");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("order");

    const QStringList abc{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s};
    const QStringList bac{u"b.txt"_s, u"a.txt"_s, u"c.txt"_s};
    const QStringList ac{u"a.txt"_s, u"c.txt"_s};
    for (bool second : {false, true}) {
        const char *opening = second ? "second opening" : "first opening";
        QTest::addRow("%s, Up unconfirmed", opening) << second << false << "UpBtn" << abc;
        QTest::addRow("%s, Delete unconfirmed", opening) << second << false << "DelBtn" << abc;
        QTest::addRow("%s, Up confirmed", opening) << second << true << "UpBtn" << bac;
        QTest::addRow("%s, Delete confirmed", opening) << second << true << "DelBtn" << ac;
    }
}

void TestSettingsDialog::closingRebuildsFromFile()
{
    QFETCH(bool, secondOpening);
    QFETCH(bool, confirm);
    QFETCH(QString, button);
    QFETCH(QStringList, order);

    start();
    if (secondOpening)
        openTwice();
    else
        m_form2->show();
    m_form2->ListBox1->setCurrentRow(1);
    QTest::mouseClick(m_form2->findChild<QPushButton *>(button), Qt::LeftButton);
    if (confirm) {
        QTest::mouseClick(m_form2->ConfirmBtn, Qt::LeftButton);
        QVERIFY(m_form2->isChange);
        QCOMPARE(fileLines(0), order);
    }
    QVERIFY(m_form2->close());
    // Buttons and lines in step, and as the file has them.
    QCOMPARE(buttonFiles(), order);
    QCOMPARE(lineFiles(), order);
    QCOMPARE(fileLines(0), order);
    QVERIFY(m_shown.isEmpty());
}

void TestSettingsDialog::confirmFailureKeepsDialogOpen()
{
    start();
    openTwice();
    // A folder in the file's place: no one, root included, can write it.
    QVERIFY(QFile::remove(file(groupFileName(0))));
    QVERIFY(QDir(home()).mkdir(groupFileName(0)));
    m_form2->ListBox1->setCurrentRow(1);
    QTest::mouseClick(m_form2->UpBtn, Qt::LeftButton);
    QTest::mouseClick(m_form2->ConfirmBtn, Qt::LeftButton);
    QCOMPARE(m_shown.size(), 1);
    QVERIFY(!m_form2->isChange);
    QVERIFY(m_form2->isVisible());
    QCOMPARE(lineFiles(), (QStringList{u"b.txt"_s, u"a.txt"_s, u"c.txt"_s}));
}

void TestSettingsDialog::listFollowsCurrentGroup()
{
    writeGroup(1, {u"d.txt"_s, u"e.txt"_s});
    start();
    m_form2->show();
    m_form2->ListBox1->setCurrentRow(2);

    // Switching group while the dialog is open: the list shows the new
    // group, nothing selected, so no click acts on a stale position.
    BarProbe::groupItem(BarProbe::menus(*m_form1), 1)->trigger();
    QCOMPARE(m_form1->MenuIndex(), 1);
    QCOMPARE(listItems(), (QStringList{u"d.txt"_s, u"e.txt"_s}));
    QCOMPARE(m_form2->selectedRow(), -1);
    for (QPushButton *button : {m_form2->DelBtn, m_form2->DownBtn, m_form2->UpBtn})
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(lineFiles(), (QStringList{u"d.txt"_s, u"e.txt"_s}));
    QCOMPARE(m_form1->LaunchPath[0]->lines().size(), 3);

    // A drop adds a line: the list shows it too.
    QVERIFY(writeBytes(file(u"f.txt"_s), "x"));
    m_form2->ListBox1->setCurrentRow(1);
    m_form1->DropTarget1Dropped({file(u"f.txt"_s)});
    QCOMPARE(listItems(), (QStringList{u"d.txt"_s, u"e.txt"_s, u"f.txt"_s}));
    QCOMPARE(m_form2->selectedRow(), -1);
    m_form2->ListBox1->setCurrentRow(2);
    QTest::mouseClick(m_form2->UpBtn, Qt::LeftButton);
    QCOMPARE(orderFiles(), (QStringList{u"d.txt"_s, u"f.txt"_s, u"e.txt"_s}));
    QCOMPARE(listItems(), orderFiles());
}

void TestSettingsDialog::groupLoadPullsSizesIntoRange_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("corner");
    QTest::addColumn<int>("width2");
    QTest::addColumn<int>("corner2");
    QTest::addColumn<int>("cornerAfterClosing");

    // Reading pulls the values into the boxes' ranges, so the bar, the
    // dialog and the next write agree from the start.
    QTest::newRow("above the ranges") << 150 << 200 << 100 << 100 << 100;
    QTest::newRow("in range") << 40 << 6 << 40 << 6 << 6;
    QTest::newRow("below the ranges") << 10 << -5 << 16 << 0 << 0;
}

void TestSettingsDialog::groupLoadPullsSizesIntoRange()
{
    QFETCH(int, width);
    QFETCH(int, corner);
    QFETCH(int, width2);
    QFETCH(int, corner2);
    QFETCH(int, cornerAfterClosing);

    QVERIFY(writeBytes(iniFile(), u"[Icon]\r\nWidth=%1\r\nCorner=%2\r\n"_s.arg(width).arg(corner).toUtf8()));
    start();
    // Before the dialog was ever opened.
    QCOMPARE(m_form1->settings().bw2, width2);
    QCOMPARE(m_form1->settings().bc2, corner2);
    QCOMPARE(m_form1->buttonIconSize().first, width2);
    QCOMPARE(m_form1->buttonIconSize().second, corner2);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1).first()->iconSide(), width2);
    QVERIFY(m_form1->WriteIniFile());
    const IniFile written = IniFile::load(iniFile());
    QCOMPARE(written.value(u"Icon", u"Width"), QString::number(width2));
    QCOMPARE(written.value(u"Icon", u"Corner"), QString::number(corner2));

    m_form2->show();
    QVERIFY(m_form2->close());
    QCOMPARE(m_form1->buttonIconSize().first, width2);
    QCOMPARE(m_form1->buttonIconSize().second, cornerAfterClosing);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1).first()->iconSide(), width2);
}

void TestSettingsDialog::closingAppliesEverything()
{
    start();
    m_form2->show();
    TForm2 *d = m_form2.get();
    d->OuterGlow->setChecked(true);
    d->ColorComboBox1->setColor(0xFFFF0000);
    d->ColorComboBox2->setColor(0xFF000080);
    d->Top->setChecked(true);
    d->Stealth->setChecked(true);
    d->ShowHint->setChecked(false);
    d->PadSpin->setValue(7);
    d->IconWidth->setValue(36);
    d->IconCorner->setValue(9);
    const QStringList names{QString(), u"A&B"_s, u"a b"_s, u"グループ"_s, u"x,y"_s};
    for (int n = 0; n < 5; ++n)
        d->groupNameEdits()[n]->setText(names[n]);
    d->OpaSpin->setValue(0.3);
    d->BackColor0->setColor(0x80102030);
    d->BackColor1->setColor(0xFF405060);
    d->GraCheck->setChecked(true);
    d->DirectionCombo->setCurrentIndex(2);
    d->TaskBarCheck->setChecked(true);
    BarProbe::AddMenu(BarProbe::menus(*m_form1))->setChecked(true);

    QVERIFY(d->close());
    const TForm1 *f = m_form1.get();
    QCOMPARE(f->settings().GlowNo, 1);
    QCOMPARE(f->settings().GlowColor, QRgb(0xFFFF0000));
    QCOMPARE(BarProbe::ShadowEffect1(*f)->shadowColor(), QColor(0, 0, 0x80));
    QVERIFY(f->settings().isTop);
    QVERIFY(f->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f->settings().isStealth);
    QVERIFY(BarProbe::Timer1(*f)->isActive());
    QVERIFY(!BarProbe::AddMenu(BarProbe::menus(*f))->isChecked());
    QVERIFY(!f->settings().FShowhint);
    QCOMPARE(f->settings().pad, 7);
    QCOMPARE(f->buttonIconSize().first, 36);
    QCOMPARE(f->buttonIconSize().second, 9);
    QCOMPARE(BarProbe::LaunchBtn(*f).first()->iconSide(), 36);
    QVERIFY(BarProbe::LaunchBtn(*f).first()->toolTip().isEmpty());
    QCOMPARE(BarProbe::LaunchBtn(*f).first()->hoverEffect(), 1);
    for (int n = 0; n < 5; ++n)
        QCOMPARE(f->groupName(n), names[n]);
    QCOMPARE(BarProbe::Rectangle1(*f)->opacity(), qreal(0.3f));
    QCOMPARE(f->settings().color0, QRgb(0x80102030));
    QCOMPARE(f->settings().color1, QRgb(0xFF405060));
    QVERIFY(f->settings().isGradient);
    QCOMPARE(f->settings().Direction, 2);
    QVERIFY(f->settings().isShowTaskBar);
    // The background was applied with the new values.
    QVERIFY(BarProbe::Rectangle1(*f)->isGradient());
    QCOMPARE(BarProbe::Rectangle1(*f)->color0().rgba(), QRgb(0x80102030));
    QCOMPARE(BarProbe::Rectangle1(*f)->gradientStop(), QPointF(1, 1));

    // The settings file holds it all: a new bar reads it back.
    TForm1 again(home());
    QCOMPARE(again.settings().GlowNo, 1);
    QCOMPARE(again.settings().GlowColor, QRgb(0xFFFF0000));
    QCOMPARE(BarProbe::ShadowEffect1(again)->shadowColor(), QColor(0, 0, 0x80));
    QVERIFY(again.settings().isTop && again.settings().isStealth && again.settings().isShowTaskBar
            && again.settings().isGradient);
    QVERIFY(!again.settings().FShowhint);
    QCOMPARE(again.settings().pad, 7);
    QCOMPARE(again.settings().bw2, 36);
    QCOMPARE(again.settings().bc2, 9);
    for (int n = 0; n < 5; ++n)
        QCOMPARE(again.groupName(n), names[n]);
    QCOMPARE(BarProbe::Rectangle1(again)->opacity(), qreal(0.3f));
    QCOMPARE(again.settings().color0, QRgb(0x80102030));
    QCOMPARE(again.settings().color1, QRgb(0xFF405060));
    QCOMPARE(again.settings().Direction, 2);
}

void TestSettingsDialog::unlistedColoursBecomeListed()
{
    // Translucent gold and translucent black are no named colour.
    QVERIFY(writeBytes(iniFile(), "[Color]\r\nGlow=-2130716928\r\nShadow=2130706432\r\n"));
    start();
    m_form2->show();
    QCOMPARE(m_form2->ColorComboBox1->currentText(), u"Null"_s);
    QCOMPARE(m_form2->ColorComboBox2->currentText(), u"Null"_s);
    QVERIFY(m_form2->close());
    QCOMPARE(m_form1->settings().GlowColor, QRgb(0));
    QCOMPARE(BarProbe::ShadowEffect1(*m_form1)->shadowColor().rgba(), QRgb(0));
}

void TestSettingsDialog::emptyGroupTransparency()
{
    QVERIFY(QFile::remove(file(groupFileName(0))));
    start();
    QVERIFY(BarProbe::transparency(*m_form1));
    m_form2->show();
    QVERIFY(!BarProbe::transparency(*m_form1));
    QVERIFY(m_form2->close());
    QVERIFY(!BarProbe::transparency(*m_form1));

    // Once the group has an entry, closing switches it back on.
    m_form1->DropTarget1Dropped({file(u"a.txt"_s)});
    m_form2->show();
    QVERIFY(!BarProbe::transparency(*m_form1));
    QVERIFY(m_form2->close());
    QVERIFY(BarProbe::transparency(*m_form1));
}

void TestSettingsDialog::writeFailureKeepsDialogOpen()
{
    // A folder where the settings file belongs cannot be written over.
    QVERIFY(QDir(home()).mkdir(u"Quillbrook.ini"_s));
    start();
    m_form2->show();
    m_form2->BackColor0->setColor(0xFF112233);
    // Button widgets are reused, so a rebuild shows as the lines shown anew.
    QSignalSpy rebuilds(m_form1.get(), &TForm1::groupLinesChanged);

    QVERIFY(!m_form2->close());
    QVERIFY(m_form2->isVisible());
    QCOMPARE(m_shown.size(), 1);
    QVERIFY(m_shown.first().contains(u"に書き込めません"_s));
    // The steps before the write took effect; the background was not applied.
    QCOMPARE(m_form1->settings().color0, QRgb(0xFF112233));
    QVERIFY(BarProbe::Rectangle1(*m_form1)->color0().rgba() != 0xFF112233);
    QCOMPARE(rebuilds.size(), 1);
    QVERIFY(m_form2->isChange);

    // Closing again repeats the whole sequence, the rebuild included.
    QVERIFY(QDir(home()).rmdir(u"Quillbrook.ini"_s));
    QVERIFY(m_form2->close());
    QVERIFY(m_form2->isHidden());
    QCOMPARE(rebuilds.size(), 2);
    QCOMPARE(BarProbe::Rectangle1(*m_form1)->color0().rgba(), QRgb(0xFF112233));
    QVERIFY(QFileInfo(iniFile()).isFile());
}

void TestSettingsDialog::escapeClosesAsExitDoes_data()
{
    QTest::addColumn<QString>("focus"); // the control Escape is pressed in
    QTest::addColumn<bool>("writable");
    QTest::newRow("group name") << u"Edit1"_s << true;
    QTest::newRow("order list") << u"ListBox1"_s << true;
    QTest::newRow("spin box") << u"IconWidth"_s << true;
    QTest::newRow("check box") << u"GraCheck"_s << true;
    QTest::newRow("settings file not writable") << u"Edit1"_s << false;
}

void TestSettingsDialog::escapeClosesAsExitDoes()
{
    QFETCH(QString, focus);
    QFETCH(bool, writable);

    // A folder where the settings file belongs cannot be written over.
    if (!writable)
        QVERIFY(QDir(home()).mkdir(u"Quillbrook.ini"_s));
    start();
    m_form2->show();
    m_form2->GraCheck->setChecked(true);
    auto *control = m_form2->findChild<QWidget *>(focus);
    QVERIFY(control);
    QTest::keyClick(control, Qt::Key_Escape);
    // Saved as "Exit" saves; a failed write keeps the dialog open alike.
    QCOMPARE(m_form2->isHidden(), writable);
    QVERIFY(m_form1->settings().isGradient);
    QCOMPARE(m_shown.size(), writable ? 0 : 1);
    if (writable)
        QVERIFY(readBytes(iniFile()).contains("Gradient=1"));
}

void TestSettingsDialog::settingsCommandWhileOpen()
{
    start();
    m_form2->show();
    m_form2->IconWidth->setValue(50);
    m_form2->ListBox1->setCurrentRow(1);
    BarProbe::Seting2(BarProbe::menus(*m_form1))->trigger();
    QVERIFY(m_form2->isVisible());
    QCOMPARE(m_form2->IconWidth->value(), 50);
    QCOMPARE(m_form2->selectedRow(), 1);
}

void TestSettingsDialog::typedValueOutsideRange_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");

    QTest::newRow("size above") << u"IconWidth"_s << u"200"_s << 100.0;
    QTest::newRow("size below") << u"IconWidth"_s << u"5"_s << 16.0;
    QTest::newRow("size in range") << u"IconWidth"_s << u"40"_s << 40.0;
    QTest::newRow("gap above") << u"HGap"_s << u"75"_s << 50.0;
    QTest::newRow("opacity above") << u"OpaSpin"_s << u"5"_s << 1.0;
    QTest::newRow("opacity below") << u"OpaSpin"_s << u"0.0"_s << 0.1;
}

void TestSettingsDialog::typedValueOutsideRange()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(double, value);

    start();
    m_form2->show();
    auto *spin = m_form2->findChild<QAbstractSpinBox *>(box);
    QVERIFY(spin);
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, typed);
    QTest::keyClick(spin, Qt::Key_Return);
    // Pulled to the nearest limit, not back to the value before.
    const QVariant shown = spin->property("value");
    QCOMPARE(shown.toDouble(), value);
}

void TestSettingsDialog::summonKeyChoice()
{
    start();
    auto *on = m_form2->findChild<QCheckBox *>(u"SummonKeyOn"_s);
    auto *edit = m_form2->findChild<QKeySequenceEdit *>(u"SummonKeyEdit"_s);
    QVERIFY(on && edit);
    const auto stored = [this] { return readBytes(iniFile()); };

    // Untouched, the default stays out of the file.
    m_form2->show();
    QVERIFY(on->isChecked());
    QCOMPARE(edit->keySequence(), QKeySequence(u"Ctrl+Alt+Space"_s));
    QVERIFY(m_form2->close());
    QVERIFY(!stored().contains("[Keys]"));

    // Off is written, and shown as off at the next opening.
    m_form2->show();
    on->setChecked(false);
    QVERIFY(m_form2->close());
    QVERIFY(!m_form1->settings().summonKey.isOn());
    QVERIFY(stored().endsWith("[Keys]\r\nSummon=\r\n"));
    m_form2->show();
    QVERIFY(!on->isChecked() && !edit->isEnabled());

    // A recorded combination; one that would steal typing is refused.
    on->setChecked(true);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(m_form2->findChild<SummonKeyBox *>()->value().toString(), u"Ctrl+Shift+F9"_s);
    edit->clear();
    QTest::keyClick(edit, Qt::Key_A);
    QTRY_COMPARE(edit->keySequence(), QKeySequence(u"Ctrl+Shift+F9"_s));
    QVERIFY(m_form2->close());
    QVERIFY(stored().contains("[Keys]\r\nSummon=Ctrl+Shift+F9\r\n"));
    TForm1 again(home());
    QCOMPARE(again.settings().summonKey.toString(), u"Ctrl+Shift+F9"_s);
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
