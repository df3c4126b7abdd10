// SPDX-License-Identifier: MIT
#pragma once

#include <QDoubleSpinBox>
#include <QSpinBox>

// Spin boxes that take a typed number outside their range to the nearest
// limit, where Qt's own would refuse the keystroke or go back to the value
// before: typing 200 into a box of 16 to 100 gives 100, not 20.
class ClampingSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit ClampingSpinBox(QWidget *parent = nullptr);

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

class ClampingDoubleSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit ClampingDoubleSpinBox(QWidget *parent = nullptr);

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};
