// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>
#include <QRgb>

// A swatch of any ARGB colour; a click opens the colour dialog, alpha
// channel included.
class ColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorButton(QWidget *parent = nullptr);

    QRgb color() const { return m_color; }
    void setColor(QRgb color);

    // A swatch of `color` over a checkerboard, so that translucency shows.
    static QPixmap swatch(QRgb color, QSize size);

private:
    void pick();

    QRgb m_color = 0xFFFFFFFF;
};
