// SPDX-License-Identifier: MIT
#include "settings/Unit2.h"

#include "app/Unit1.h"
#include "core/entries/PathRules.h"
#include "core/settings/BarSettings.h"
#include "settings/SummonKeyBox.h"
#include "settings/ColorButton.h"
#include "settings/ColorComboBox.h"
#include "settings/DialogTheme.h"
#include "settings/TextFit.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>

TForm2::TForm2(TForm1 *form1, QWidget *parent, bool deferControls)
    : QWidget(parent, Qt::Tool)
    , m_form1(form1)
{
    setObjectName(QStringLiteral("Form2"));
    //: The settings dialog's title.
    setWindowTitle(tr("設定"));
    setFixedSize(kClientSize);
    // Every group load hands the stored size and radius to the spin boxes,
    // which pull them into range before the dialog is ever opened.
    connect(m_form1, &TForm1::groupLoaded, this, &TForm2::takeGroupSizes);
    // Positions in the order list must always be the current group's.
    connect(m_form1, &TForm1::groupLinesChanged, this, [this] {
        if (isVisible())
            fillOrderList();
    });
    if (!deferControls)
        ensureControls();
}

void TForm2::ensureControls()
{
    if (m_controlsBuilt)
        return;
    m_controlsBuilt = true;
    const QList<QWidget *> before = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    createControls();
    applyDialogTheme(this);
    // The places are drawn for the Japanese texts.
    fitTextsInDialog(this);
    connectHandlers();
    // Built while being shown: a child made after its parent was shown
    // stays hidden until it is shown itself. The ones there before were
    // shown with the dialog, or hidden on purpose.
    if (isVisible()) {
        for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!before.contains(child))
                child->show();
        }
    }
    if (m_groupSizesPending) {
        m_groupSizesPending = false;
        takeGroupSizes();
    }
}

void TForm2::connectHandlers()
{
    connect(IconWidth, &QSpinBox::valueChanged, this, &TForm2::IconWidthChange);
    connect(IconCorner, &QSpinBox::valueChanged, this, &TForm2::IconCornerChange);
    connect(PadSpin, &QSpinBox::valueChanged, this, &TForm2::PadSpinChange);
    connect(HGap, &QSpinBox::valueChanged, this, &TForm2::HGapChange);
    connect(VGap, &QSpinBox::valueChanged, this, &TForm2::VGapChange);
    connect(Shadow, &QCheckBox::toggled, this, &TForm2::ShadowChange);
    connect(ShowHint, &QCheckBox::toggled, this, &TForm2::ShowHintChange);
    for (QRadioButton *radio : effectRadios())
        connect(radio, &QRadioButton::toggled, this, &TForm2::GlowRadioChange);

    connect(UpBtn, &QPushButton::clicked, this, &TForm2::UpBtnClick);
    connect(DownBtn, &QPushButton::clicked, this, &TForm2::DownBtnClick);
    connect(DelBtn, &QPushButton::clicked, this, &TForm2::DelBtnClick);
    connect(ConfirmBtn, &QPushButton::clicked, this, &TForm2::ConfirmBtnClick);
    connect(ExitBtn, &QPushButton::clicked, this, &TForm2::ExitBtnClick);
}

void TForm2::takeGroupSizes()
{
    if (!m_controlsBuilt) {
        m_groupSizesPending = true;
        return;
    }
    IconWidth->setValue(m_form1->settings().bw2);
    IconCorner->setValue(m_form1->settings().bc2);
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    ensureControls();
    // On the bar's screen, where the user is looking.
    centreOnScreen(this, m_form1->screen());
    FormShow();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TForm2::keyPressEvent(QKeyEvent *event)
{
    // Escape closes as "Exit" does, settings saved alike.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && ExitBtn) {
        ExitBtn->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm2::fillOrderList()
{
    m_order = m_form1->currentGroup().lines();
    ListBox1->clear();
    for (const QString &line : std::as_const(m_order))
        ListBox1->addItem(fileNamePart(splitEntryLine(line).value(0)));
}

void TForm2::FormShow()
{
    TForm1 *f = m_form1;
    const BarSettings s = f->settings();
    ListBox1->clear();
    if (f->currentGroup().isEmpty())
        f->setTransparency(false);
    isChange = false;
    const std::array<QRadioButton *, 6> radios = effectRadios();
    if (s.GlowNo >= 0 && s.GlowNo < int(radios.size()))
        radios[s.GlowNo]->setChecked(true);
    if (s.isStealth)
        Stealth->setChecked(true);
    if (s.isTop)
        Top->setChecked(true);
    else
        Normal->setChecked(true);
    f->suspendStealth();
    HGap->setValue(s.horizontalGap);
    VGap->setValue(s.verticalGap);
    // The buttons' own size: the boxes show the bar as it is.
    const auto [iconSize, iconCorner] = f->buttonIconSize();
    IconWidth->setValue(iconSize);
    IconCorner->setValue(iconCorner);
    ShowHint->setChecked(s.FShowhint);
    fillOrderList();
    const std::array<QLineEdit *, 5> edits = groupNameEdits();
    for (int n = 0; n < int(edits.size()); ++n)
        edits[n]->setText(s.groupNames[n]);
    ColorComboBox1->setColor(s.GlowColor);
    ColorComboBox2->setColor(s.shadowColor);
    // So the box never shows a shadow that is not drawn.
    Shadow->setChecked(s.shadowEnabled);
    OpaSpin->setValue(s.opacity);
    BackColor0->setColor(s.color0);
    BackColor1->setColor(s.color1);
    GraCheck->setChecked(s.isGradient);
    DirectionCombo->setCurrentIndex(s.Direction);
    TaskBarCheck->setChecked(s.isShowTaskBar);
    PadSpin->setValue(s.pad);
    summonKeyBox->setValue(s.summonKey);
}

BarSettings TForm2::chosenSettings() const
{
    // Starts from the bar's: a hover effect no radio stands for stays.
    BarSettings s = m_form1->settings();
    const std::array<QRadioButton *, 6> radios = effectRadios();
    for (int glowNo = 0; glowNo < int(radios.size()); ++glowNo) {
        if (radios[glowNo]->isChecked())
            s.GlowNo = glowNo;
    }
    s.GlowColor = ColorComboBox1->color();
    s.shadowColor = ColorComboBox2->color();
    s.isTop = Top->isChecked();
    s.isStealth = Stealth->isChecked();
    s.FShowhint = ShowHint->isChecked();
    s.pad = PadSpin->value();
    s.bw2 = IconWidth->value();
    s.bc2 = IconCorner->value();
    s.horizontalGap = HGap->value();
    s.verticalGap = VGap->value();
    s.shadowEnabled = Shadow->isChecked();
    const std::array<QLineEdit *, 5> edits = groupNameEdits();
    for (int n = 0; n < int(edits.size()); ++n)
        s.groupNames[n] = edits[n]->text();
    s.opacity = float(OpaSpin->value());
    s.color0 = BackColor0->color();
    s.color1 = BackColor1->color();
    s.isGradient = GraCheck->isChecked();
    s.Direction = DirectionCombo->currentIndex();
    s.isShowTaskBar = TaskBarCheck->isChecked();
    s.summonKey = summonKeyBox->value();
    return s;
}

bool TForm2::FormClose()
{
    return m_form1->applySettings(chosenSettings(), isChange);
}

void TForm2::ExitBtnClick()
{
    close();
}

void TForm2::IconWidthChange()
{
    BarSettings s = m_form1->settings();
    s.bw2 = IconWidth->value();
    m_form1->previewSettings(s);
    isChange = true;
}

void TForm2::IconCornerChange()
{
    BarSettings s = m_form1->settings();
    s.bc2 = IconCorner->value();
    m_form1->previewSettings(s);
    isChange = true;
}

void TForm2::PadSpinChange()
{
    isChange = true;
}

void TForm2::HGapChange()
{
    BarSettings s = m_form1->settings();
    s.horizontalGap = HGap->value();
    m_form1->previewSettings(s);
}

void TForm2::VGapChange()
{
    BarSettings s = m_form1->settings();
    s.verticalGap = VGap->value();
    m_form1->previewSettings(s);
}

void TForm2::ShadowChange()
{
    BarSettings s = m_form1->settings();
    s.shadowEnabled = Shadow->isChecked();
    m_form1->previewSettings(s);
}

void TForm2::ShowHintChange()
{
    isChange = true;
}

void TForm2::GlowRadioChange()
{
    isChange = true;
}

int TForm2::selectedRow() const
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void TForm2::moveLine(int from, int to)
{
    // The list mirrors the copy; a position outside either is not acted on.
    if (from >= m_order.size() || to >= m_order.size() || to < 0)
        return;
    m_order.move(from, to);
    ListBox1->insertItem(to, ListBox1->takeItem(from));
    ListBox1->setCurrentRow(to);
}

void TForm2::UpBtnClick()
{
    const int i = selectedRow();
    if (i < 1)
        return;
    moveLine(i, i - 1);
}

void TForm2::DownBtnClick()
{
    const int i = selectedRow();
    if (i < 0 || i > ListBox1->count() - 2)
        return;
    moveLine(i, i + 1);
}

void TForm2::DelBtnClick()
{
    const int i = selectedRow();
    if (i < 0 || i >= m_order.size())
        return;
    m_order.removeAt(i);
    delete ListBox1->takeItem(i);
    // A second click must not delete the neighbour that moved up.
    ListBox1->clearSelection();
}

void TForm2::ConfirmBtnClick()
{
    if (!m_form1->setGroupOrder(m_order))
        return;
    isChange = true;
}
