// SPDX-License-Identifier: MIT
#include "settings/SummonKeyBox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QToolTip>

SummonKeyBox::SummonKeyBox(QWidget *parent)
    : QWidget(parent)
    , m_on(new QCheckBox(tr("呼び出しキー"), this))
    , m_edit(new QKeySequenceEdit(this))
{
    setObjectName(QStringLiteral("SummonKeyBox"));
    m_on->setObjectName(QStringLiteral("SummonKeyOn"));
    m_edit->setObjectName(QStringLiteral("SummonKeyEdit"));
    m_on->setToolTip(tr("どこからでもこのキーでバーを呼び出します。もう一度押すと元のウィンドウに戻ります"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_on);
    layout->addWidget(m_edit, 1);
    // The recorder's own line edit is what a screen reader lands on.
    m_edit->setAccessibleName(m_on->text());
    if (auto *line = m_edit->findChild<QLineEdit *>())
        line->setAccessibleName(m_on->text());
    connect(m_on, &QCheckBox::toggled, m_edit, &QWidget::setEnabled);
    connect(m_edit, &QKeySequenceEdit::editingFinished, this, &SummonKeyBox::takeRecorded);
    setValue(SummonKey::defaultKey());
}

void SummonKeyBox::setValue(const SummonKey &value)
{
    if (value.isOn())
        m_key = value.key;
    m_on->setChecked(value.isOn());
    m_edit->setEnabled(value.isOn());
    showKey();
}

SummonKey SummonKeyBox::value() const
{
    return m_on->isChecked() ? SummonKey{m_key} : SummonKey{};
}

void SummonKeyBox::takeRecorded()
{
    const QKeySequence recorded = m_edit->keySequence();
    if (recorded.isEmpty()) {
        showKey();
        return;
    }
    // The field records up to four presses; the first is the one meant.
    if (SummonKey::usable(recorded[0])) {
        m_key = recorded[0];
    } else {
        QToolTip::showText(m_edit->mapToGlobal(QPoint(0, m_edit->height())),
                           tr("Ctrl、Alt、Super のどれかと組み合わせてください"), m_edit);
    }
    showKey();
}

void SummonKeyBox::showKey()
{
    const QSignalBlocker quiet(m_edit);
    m_edit->setKeySequence(QKeySequence(m_key));
}
