// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QRgb>

// A drop-down list of the named colours, each with a swatch. Only a colour
// of the list can be chosen: setting any other leaves the selection as it is.
class ColorComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ColorComboBox(QWidget *parent = nullptr);

    // The selected entry's value, or 0 when nothing is selected.
    QRgb color() const;
    // Selects the first entry of exactly this value, if there is one.
    void setColor(QRgb color);
};
