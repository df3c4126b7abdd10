// SPDX-License-Identifier: MIT
#include "settings/ColorComboBox.h"

#include "settings/ColorButton.h"
#include "core/settings/ColorTable.h"

ColorComboBox::ColorComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setIconSize(QSize(24, 14));
    setMaxVisibleItems(16);
    for (int i = 0; i < kNamedColorCount; ++i)
        addItem(QIcon(ColorButton::swatch(kNamedColors[i].value, iconSize())), namedColorName(i));
    setCurrentIndex(namedColorIndex(0));
}

QRgb ColorComboBox::color() const
{
    return namedColorValue(currentIndex());
}

void ColorComboBox::setColor(QRgb color)
{
    const int index = namedColorIndex(color);
    if (index >= 0)
        setCurrentIndex(index);
}
