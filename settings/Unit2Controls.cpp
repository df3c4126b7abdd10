// SPDX-License-Identifier: MIT
// The settings dialog's controls: names, captions, ranges, initial states
// and fixed places.
#include "settings/Unit2.h"

#include "core/settings/BarSettings.h"

#include "settings/ClampingSpinBox.h"
#include "settings/ColorButton.h"
#include "settings/ColorComboBox.h"
#include "settings/SummonKeyBox.h"
#include "platform/X11Window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

template<typename W>
W *place(W *widget, const char *name, QRect geometry)
{
    if (name)
        widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const QString &text, QRect geometry)
{
    return place(new QLabel(text, parent), nullptr, geometry);
}

QGroupBox *groupBox(QWidget *parent, const QString &title, QRect geometry)
{
    return place(new QGroupBox(title, parent), nullptr, geometry);
}

QSpinBox *spinBox(QWidget *parent, const char *name, QRect geometry, int min, int max, int value)
{
    auto *box = place(new ClampingSpinBox(parent), name, geometry);
    box->setRange(min, max);
    box->setValue(value);
    return box;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &text, QRect geometry, bool checked)
{
    auto *box = place(new QCheckBox(text, parent), name, geometry);
    box->setChecked(checked);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    return place(new QPushButton(text, parent), name, geometry);
}

// The effect radios by hover effect number, with their place in the box's
// two rows and three columns.
struct EffectRadio {
    QRadioButton *TForm2::*member;
    const char *name;
    const char *caption; // UTF-8, translated when placed
    int row, column;
};

constexpr EffectRadio kEffectRadios[] = {
    {&TForm2::NonGlow, "NonGlow", QT_TRANSLATE_NOOP("TForm2", "Effect無し"), 2, 3},
    {&TForm2::OuterGlow, "OuterGlow", QT_TRANSLATE_NOOP("TForm2", "外側輝き"), 1, 2},
    {&TForm2::InnerGlow, "InnerGlow", QT_TRANSLATE_NOOP("TForm2", "内側輝き"), 1, 1},
    {&TForm2::Rotate, "Rotate", QT_TRANSLATE_NOOP("TForm2", "回転"), 1, 3},
    {&TForm2::Faed, "Faed", QT_TRANSLATE_NOOP("TForm2", "フェード"), 2, 1},
    {&TForm2::Mag, "Mag", QT_TRANSLATE_NOOP("TForm2", "拡大"), 2, 2},
};

} // namespace

void TForm2::createControls()
{
    // --- スタイル ---
    styleBox = groupBox(this, tr("スタイル"), {8, 8, 273, 89});
    modeGroup = new QButtonGroup(this);
    modeGroup->setObjectName(QStringLiteral("MODE"));
    Normal = place(new QRadioButton(tr("Normal"), styleBox), "Normal", {16, 26, 90, 24});
    Top = place(new QRadioButton(tr("Top"), styleBox), "Top", {120, 26, 90, 24});
    modeGroup->addButton(Normal);
    modeGroup->addButton(Top);
    Normal->setChecked(true);
    Stealth = checkBox(styleBox, "Stealth", tr("Stealth"), {16, 56, 90, 24}, false);
    TaskBarCheck = checkBox(styleBox, "TaskBarCheck", tr("タスクバーに表示"), {120, 56, 145, 24}, false);
    TaskBarCheck->setToolTip(tr("再起動後に有効になります"));
    if (X11Window::isWayland()) {
        // The compositor alone decides stacking and the taskbar there; the
        // choices are kept for an X11 session.
        const QString reduced = tr("Wayland では「Top」と「タスクバーに表示」は働きません");
        Top->setToolTip(reduced);
        TaskBarCheck->setToolTip(reduced);
    }

    // --- 背景 ---
    backBox = groupBox(this, tr("背景"), {8, 96, 273, 129});
    QLabel *opacityLabel = label(backBox, tr("透明度"), {16, 26, 60, 24});
    OpaSpin = place(new ClampingDoubleSpinBox(backBox), "OpaSpin", {80, 26, 70, 24});
    // A label's buddy is what screen readers name its control by.
    opacityLabel->setBuddy(OpaSpin);
    OpaSpin->setRange(0.1, 1.0);
    OpaSpin->setSingleStep(0.1);
    OpaSpin->setDecimals(1);
    OpaSpin->setValue(0.1);
    GraCheck = checkBox(backBox, "GraCheck", tr("グラジエント"), {16, 58, 110, 24}, false);
    DirectionCombo = place(new QComboBox(backBox), "DirectionCombo", {136, 58, 120, 24});
    DirectionCombo->addItems({tr("垂直"), tr("水平"), tr("斜め")});
    DirectionCombo->setCurrentIndex(-1);
    //: Screen readers: the combo box next to "グラジエント".
    DirectionCombo->setAccessibleName(tr("グラジエントの向き"));
    BackColor0 = place(new ColorButton(backBox), "BackColor0", {16, 90, 116, 28});
    BackColor1 = place(new ColorButton(backBox), "BackColor1", {140, 90, 116, 28});
    //: Screen readers: the plate's colour, or where its gradient starts.
    BackColor0->setAccessibleName(tr("背景色"));
    //: Screen readers: where the plate's gradient ends.
    BackColor1->setAccessibleName(tr("グラジエントの終わりの色"));

    // --- Icon ---
    iconBox = groupBox(this, tr("Icon"), {8, 224, 273, 361});
    QLabel *sizeLabel = label(iconBox, tr("アイコン大きさ"), {12, 44, 100, 24});
    IconWidth = spinBox(iconBox, "IconWidth", {112, 44, 60, 24}, BarSettings::kIconSideRange.first,
                        BarSettings::kIconSideRange.second, 32);
    sizeLabel->setBuddy(IconWidth);
    QLabel *paddingLabel = label(iconBox, tr("余白"), {196, 22, 60, 20});
    label(iconBox, QStringLiteral("+"), {180, 44, 14, 24});
    PadSpin = spinBox(iconBox, "PadSpin", {196, 44, 60, 24}, 0, 100, 0);
    paddingLabel->setBuddy(PadSpin);
    QLabel *cornerLabel = label(iconBox, tr("丸み アイコンの半分で円"), {12, 76, 180, 24});
    IconCorner = spinBox(iconBox, "IconCorner", {196, 76, 60, 24}, BarSettings::kCornerRange.first,
                         BarSettings::kCornerRange.second, 0);
    cornerLabel->setBuddy(IconCorner);

    effectBox = groupBox(iconBox, tr("Effect設定"), {8, 108, 257, 116});
    effectGroup = new QButtonGroup(this);
    effectGroup->setObjectName(QStringLiteral("EFFECT"));
    for (const EffectRadio &radio : kEffectRadios) {
        const QRect cell(8 + (radio.column - 1) * 80, 22 + (radio.row - 1) * 26, 80, 24);
        this->*radio.member = place(new QRadioButton(tr(radio.caption), effectBox), radio.name, cell);
        effectGroup->addButton(this->*radio.member);
    }
    QLabel *glowColorLabel = label(effectBox, tr("輝色"), {10, 80, 40, 26});
    ColorComboBox1 = place(new ColorComboBox(effectBox), "ColorComboBox1", {52, 80, 190, 26});
    glowColorLabel->setBuddy(ColorComboBox1);

    Shadow = checkBox(iconBox, "Shadow", tr("影を付ける"), {12, 234, 100, 26}, true);
    ColorComboBox2 = place(new ColorComboBox(iconBox), "ColorComboBox2", {114, 234, 151, 26});
    //: Screen readers: the combo box next to "影を付ける".
    ColorComboBox2->setAccessibleName(tr("影の色"));
    QLabel *hGapLabel = label(iconBox, tr("水平間隔"), {12, 274, 64, 24});
    HGap = spinBox(iconBox, "HGap", {76, 274, 56, 24}, 0, 50, 2);
    hGapLabel->setBuddy(HGap);
    QLabel *vGapLabel = label(iconBox, tr("垂直間隔"), {144, 274, 64, 24});
    VGap = spinBox(iconBox, "VGap", {208, 274, 56, 24}, 0, 50, 2);
    vGapLabel->setBuddy(VGap);
    ShowHint = checkBox(iconBox, "ShowHint", tr("ヒント表示 "), {12, 314, 120, 26}, true);

    // --- 順番入れ替え ---
    orderBox = groupBox(this, tr("順番入れ替え"), {296, 16, 233, 233});
    ListBox1 = place(new QListWidget(orderBox), "ListBox1", {10, 26, 136, 196});
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    UpBtn = button(orderBox, "UpBtn", tr("Up"), {154, 26, 70, 30});
    DownBtn = button(orderBox, "DownBtn", tr("Down"), {154, 62, 70, 30});
    DelBtn = button(orderBox, "DelBtn", tr("Delete"), {154, 98, 70, 30});
    ConfirmBtn = button(orderBox, "ConfirmBtn", tr("確定"), {154, 192, 70, 30});

    // --- グループ名 ---
    namesBox = groupBox(this, tr("グループ名"), {296, 256, 225, 193});
    QLineEdit **edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    for (int n = 0; n < 5; ++n) {
        const int y = 28 + n * 32;
        QLabel *number = label(namesBox, tr("No.%1").arg(n + 1), {12, y, 40, 24});
        const QByteArray name = "Edit" + QByteArray::number(n + 1);
        *edits[n] = place(new QLineEdit(namesBox), name.constData(), {56, y, 156, 24});
        number->setBuddy(*edits[n]);
    }

    summonKeyBox = place(new SummonKeyBox(this), "SummonKeyBox", {296, 456, 225, 30});

    ExitBtn = button(this, "ExitBtn", tr("Exit"), {360, 496, 105, 33});
    versionLabel = label(this, QStringLiteral("Quillbrook " QB_VERSION), {296, 540, 233, 20});
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    versionLabel->setAlignment(Qt::AlignCenter);
}

std::array<QRadioButton *, 6> TForm2::effectRadios() const
{
    std::array<QRadioButton *, 6> radios{};
    for (size_t glowNo = 0; glowNo < radios.size(); ++glowNo)
        radios[glowNo] = this->*kEffectRadios[glowNo].member;
    return radios;
}

std::array<QLineEdit *, 5> TForm2::groupNameEdits() const
{
    return {Edit1, Edit2, Edit3, Edit4, Edit5};
}
