// SPDX-License-Identifier: MIT
#include "settings/Unit2.h"

#include "app/Plate.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "core/entries/PathRules.h"
#include "platform/X11Window.h"
#include "settings/ColorButton.h"
#include "settings/ColorComboBox.h"
#include "settings/DialogTheme.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
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
    IconWidth->setValue(m_form1->bw2);
    IconCorner->setValue(m_form1->bc2);
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
    ListBox1->clear();
    if (f->currentGroup().isEmpty())
        f->setTransparency(false);
    isChange = false;
    const std::array<QRadioButton *, 6> radios = effectRadios();
    if (f->GlowNo >= 0 && f->GlowNo < int(radios.size()))
        radios[f->GlowNo]->setChecked(true);
    if (f->isStealth)
        Stealth->setChecked(true);
    if (f->isTop)
        Top->setChecked(true);
    else
        Normal->setChecked(true);
    f->suspendStealth();
    HGap->setValue(f->FlowLayout1->horizontalGap());
    VGap->setValue(f->FlowLayout1->verticalGap());
    IconWidth->setValue(f->bw);
    IconCorner->setValue(f->bc);
    ShowHint->setChecked(f->FShowhint);
    fillOrderList();
    const std::array<QLineEdit *, 5> edits = groupNameEdits();
    for (int n = 0; n < int(edits.size()); ++n)
        edits[n]->setText(f->groupName(n));
    ColorComboBox1->setColor(f->GlowColor);
    ColorComboBox2->setColor(f->ShadowEffect1->shadowColor().rgba());
    // So the box never shows a shadow that is not drawn.
    Shadow->setChecked(f->ShadowEffect1->shadowEnabled());
    OpaSpin->setValue(f->Rectangle1->opacity());
    BackColor0->setColor(f->color0);
    BackColor1->setColor(f->color1);
    GraCheck->setChecked(f->isGradient);
    DirectionCombo->setCurrentIndex(f->Direction);
    TaskBarCheck->setChecked(f->isShowTaskBar);
    PadSpin->setValue(f->pad);
}

bool TForm2::FormClose()
{
    TForm1 *f = m_form1;
    const std::array<QRadioButton *, 6> radios = effectRadios();
    for (int glowNo = 0; glowNo < int(radios.size()); ++glowNo) {
        if (radios[glowNo]->isChecked())
            f->GlowNo = glowNo;
    }
    f->GlowColor = ColorComboBox1->color();
    f->ShadowEffect1->setShadowColor(QColor::fromRgba(ColorComboBox2->color()));
    f->isTop = Top->isChecked();
    // Through the window manager: the bar neither moves nor flashes.
    X11Window::setStaysOnTop(f, f->isTop);
    f->isStealth = Stealth->isChecked();
    f->resumeStealth();
    if (!f->currentGroup().isEmpty())
        f->setTransparency(true);
    f->AddMenu->setChecked(false);
    f->FShowhint = ShowHint->isChecked();
    f->pad = PadSpin->value();
    if (isChange)
        f->rebuildButtons(IconWidth->value(), IconCorner->value());
    const std::array<QLineEdit *, 5> edits = groupNameEdits();
    for (int n = 0; n < int(edits.size()); ++n)
        f->setGroupName(n, edits[n]->text());
    f->Rectangle1->setOpacity(float(OpaSpin->value()));
    f->color0 = BackColor0->color();
    f->color1 = BackColor1->color();
    f->isGradient = GraCheck->isChecked();
    f->Direction = DirectionCombo->currentIndex();
    f->isShowTaskBar = TaskBarCheck->isChecked();
    if (!f->WriteIniFile())
        return false;
    f->SetBackColor();
    return true;
}

void TForm2::ExitBtnClick()
{
    close();
}

void TForm2::IconWidthChange()
{
    m_form1->bw2 = IconWidth->value();
    isChange = true;
}

void TForm2::IconCornerChange()
{
    m_form1->bc2 = IconCorner->value();
    isChange = true;
}

void TForm2::PadSpinChange()
{
    isChange = true;
}

void TForm2::HGapChange()
{
    m_form1->FlowLayout1->setHorizontalGap(HGap->value());
}

void TForm2::VGapChange()
{
    m_form1->FlowLayout1->setVerticalGap(VGap->value());
}

void TForm2::ShadowChange()
{
    m_form1->ShadowEffect1->setShadowEnabled(Shadow->isChecked());
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
