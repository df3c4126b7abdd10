// SPDX-License-Identifier: MIT
#include "settings/ClampingSpinBox.h"

#include <QLocale>

#include <algorithm>

namespace {

// A number, however far out of range, is only unfinished: the box pulls it
// in when editing ends.
QValidator::State keepNumbers(QValidator::State state, const QString &input, const QLocale &locale, bool decimal)
{
    if (state != QValidator::Invalid)
        return state;
    bool ok = false;
    if (decimal)
        locale.toDouble(input.trimmed(), &ok);
    else
        locale.toLongLong(input.trimmed(), &ok);
    return ok ? QValidator::Intermediate : QValidator::Invalid;
}

} // namespace

ClampingSpinBox::ClampingSpinBox(QWidget *parent)
    : QSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State ClampingSpinBox::validate(QString &input, int &pos) const
{
    return keepNumbers(QSpinBox::validate(input, pos), input, locale(), false);
}

void ClampingSpinBox::fixup(QString &input) const
{
    bool ok = false;
    const qlonglong typed = locale().toLongLong(input.trimmed(), &ok);
    if (ok)
        input = textFromValue(int(std::clamp<qlonglong>(typed, minimum(), maximum())));
    else
        QSpinBox::fixup(input);
}

ClampingDoubleSpinBox::ClampingDoubleSpinBox(QWidget *parent)
    : QDoubleSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State ClampingDoubleSpinBox::validate(QString &input, int &pos) const
{
    return keepNumbers(QDoubleSpinBox::validate(input, pos), input, locale(), true);
}

void ClampingDoubleSpinBox::fixup(QString &input) const
{
    bool ok = false;
    const double typed = locale().toDouble(input.trimmed(), &ok);
    if (ok)
        input = textFromValue(std::clamp(typed, minimum(), maximum()));
    else
        QDoubleSpinBox::fixup(input);
}
