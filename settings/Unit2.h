// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QWidget>

#include <array>

class ColorButton;
class ColorComboBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class SummonKeyBox;
class TForm1;
struct BarSettings;

// The settings dialog. It keeps no settings of its own: opening copies the
// bar's settings into the controls, a few controls show on the bar at once
// (TForm1::previewSettings), and closing hands the controls' values to the
// bar (TForm1::applySettings), which rebuilds the buttons when needed and
// writes the settings file. Closing only hides it.
//
// Construction and placement of the controls: Unit2Controls.cpp.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    // Building the controls loads fonts and styles, which the launcher's
    // start need not wait for: with `deferControls` they are built by
    // ensureControls(), at the latest when the dialog is first shown.
    explicit TForm2(TForm1 *form1, QWidget *parent = nullptr, bool deferControls = false);

    void ensureControls();
    bool hasControls() const { return m_controlsBuilt; }

    // Something changed that needs the launch buttons rebuilt at closing.
    bool isChange = false;

    // "スタイル"
    QGroupBox *styleBox = nullptr;
    QRadioButton *Normal = nullptr, *Top = nullptr;
    QButtonGroup *modeGroup = nullptr;
    QCheckBox *Stealth = nullptr, *TaskBarCheck = nullptr;
    // "背景"
    QGroupBox *backBox = nullptr;
    QDoubleSpinBox *OpaSpin = nullptr;
    QCheckBox *GraCheck = nullptr;
    QComboBox *DirectionCombo = nullptr;
    ColorButton *BackColor0 = nullptr, *BackColor1 = nullptr;
    // "Icon"
    QGroupBox *iconBox = nullptr;
    QSpinBox *IconWidth = nullptr, *PadSpin = nullptr, *IconCorner = nullptr;
    QGroupBox *effectBox = nullptr;
    QRadioButton *NonGlow = nullptr, *OuterGlow = nullptr, *InnerGlow = nullptr, *Rotate = nullptr, *Faed = nullptr,
                 *Mag = nullptr;
    QButtonGroup *effectGroup = nullptr;
    ColorComboBox *ColorComboBox1 = nullptr;
    QCheckBox *Shadow = nullptr;
    ColorComboBox *ColorComboBox2 = nullptr;
    QSpinBox *HGap = nullptr, *VGap = nullptr;
    QCheckBox *ShowHint = nullptr;
    // "順番入れ替え"
    QGroupBox *orderBox = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *UpBtn = nullptr, *DownBtn = nullptr, *DelBtn = nullptr, *ConfirmBtn = nullptr;
    // "グループ名"
    QGroupBox *namesBox = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr;
    SummonKeyBox *summonKeyBox = nullptr; // the key that summons the bar, or none
    QPushButton *ExitBtn = nullptr;
    QLabel *versionLabel = nullptr;

    // The effect radios indexed by hover effect number (GlowNo).
    std::array<QRadioButton *, 6> effectRadios() const;
    std::array<QLineEdit *, 5> groupNameEdits() const;

    void FormShow();
    // Applies everything to the bar; false when the settings file could not
    // be written, and the dialog then stays open.
    bool FormClose();
    void ExitBtnClick();

    void IconWidthChange();
    void IconCornerChange();
    void PadSpinChange();
    void HGapChange();
    void VGapChange();
    void ShadowChange();
    void ShowHintChange();
    // All six effect radios, for the one checked and the one unchecked.
    void GlowRadioChange();

    void UpBtnClick();
    void DownBtnClick();
    void DelBtnClick();
    void ConfirmBtnClick();

    // The order list's lines, as Up, Down and Delete left them.
    const QStringList &orderLines() const { return m_order; }
    // The selected position of the order list, or -1.
    int selectedRow() const;

    // As drawn for the Japanese texts; a translation's longer texts may
    // widen it.
    static constexpr QSize kClientSize{541, 591};

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void fillOrderList();
    void takeGroupSizes();
    // The bar's settings as the controls now show them.
    BarSettings chosenSettings() const;
    void moveLine(int from, int to);

    TForm1 *m_form1;
    bool m_controlsBuilt = false;
    // A group was loaded before the spin boxes existed: they take its sizes
    // once built, as they would have then.
    bool m_groupSizesPending = false;
    // The order list's lines: Up, Down and Delete change this copy of the
    // current group's, and "確定" hands it to the bar.
    QStringList m_order;
};
