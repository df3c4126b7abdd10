// SPDX-License-Identifier: MIT
#include "settings/ColorButton.h"

#include <QColorDialog>
#include <QPainter>

ColorButton::ColorButton(QWidget *parent)
    : QPushButton(parent)
{
    setIconSize(QSize(36, 16));
    connect(this, &QPushButton::clicked, this, &ColorButton::pick);
    setColor(m_color);
}

void ColorButton::setColor(QRgb color)
{
    m_color = color;
    setIcon(swatch(color, iconSize()));
    setText(QStringLiteral("#%1").arg(color, 8, 16, QLatin1Char('0')).toUpper());
    // The dialog names the button by its purpose; screen readers still hear
    // the colour.
    setAccessibleDescription(text());
}

void ColorButton::pick()
{
    const QColor chosen = QColorDialog::getColor(QColor::fromRgba(m_color), this, QString(),
                                                 QColorDialog::ShowAlphaChannel);
    if (chosen.isValid())
        setColor(chosen.rgba());
}

QPixmap ColorButton::swatch(QRgb color, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    const int cell = 4;
    for (int y = 0; y < size.height(); y += cell) {
        for (int x = (y / cell % 2) * cell; x < size.width(); x += 2 * cell)
            p.fillRect(x, y, cell, cell, QColor(0xcc, 0xcc, 0xcc));
    }
    p.fillRect(pixmap.rect(), QColor::fromRgba(color));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}
