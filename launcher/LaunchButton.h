// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class QVariantAnimation;

// The hover effects a launch button can carry.
enum class HoverEffect { None = 0, OuterGlow = 1, InnerGlow = 2, Rotate = 3, Fade = 4, Magnify = 5 };

// A square launch button with rounded corners showing its file's icon.
//
// The button draws nothing in its own paint event: its container paints it
// (paintButton), because a glow and a rotation reach past the button's
// rectangle, which its own painting could not.
class LaunchButton : public QAbstractButton
{
    Q_OBJECT

public:
    LaunchButton(const QString &filePath, int iconSide, int padding, int cornerRadius,
                 QWidget *parent = nullptr);

    QString filePath() const { return m_filePath; }
    int iconSide() const { return m_iconSide; }
    int cornerRadius() const { return m_cornerRadius; }

    // Any value other than 0 to 5 means no effect.
    void setHoverEffect(int glowNo, QColor glowColor);
    int hoverEffect() const { return m_glowNo; }
    QColor glowColor() const { return m_glowColor; }

    void setIconPixmap(const QPixmap &pixmap);
    QPixmap iconPixmap() const { return m_icon; }

    bool isMouseOver() const { return m_mouseOver; }
    qreal rotationAngle() const { return m_rotation; }
    qreal buttonOpacity() const { return m_opacity; }
    // Centre of the magnified view, in the button's coordinates.
    QPointF magnifyCenter() const;
    bool magnifying() const;

    // The area the button may paint, in its parent's coordinates.
    QRect paintRect() const;
    // Paints the button with `painter` in its parent's coordinates.
    void paintButton(QPainter &painter) const;

Q_SIGNALS:
    void mouseEntered(LaunchButton *button);
    void contextMenuRequested(LaunchButton *button, const QPoint &globalPos);
    // Emitted when the look must be built again (style or screen changed).
    void styleRefreshRequested(LaunchButton *button);

protected:
    void paintEvent(QPaintEvent *) override {}
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void startAnimation(qreal from, qreal to, int msecs, qreal LaunchButton::*target);

    QString m_filePath;
    int m_iconSide;
    int m_cornerRadius;
    int m_glowNo = 0;
    QColor m_glowColor;
    QPixmap m_icon;
    bool m_mouseOver = false;
    qreal m_rotation = 0;
    qreal m_opacity = 1;
    QVariantAnimation *m_animation = nullptr;
};
