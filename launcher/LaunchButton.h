// SPDX-License-Identifier: MIT
#pragma once

#include "core/layout/FlowPlacement.h"
#include "launcher/LaunchButtonHost.h"

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

#include <optional>

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
    LaunchButton(const QString &filePath, int iconSide, int padding, int cornerRadius, QWidget *parent = nullptr,
                 LaunchButtonHost *host = nullptr);

    // Makes a button taken off the bar stand for another file, as new: a
    // group switch reuses the buttons of the group before.
    void reuse(const QString &filePath, int iconSide, int padding, int cornerRadius);

    QString filePath() const { return m_filePath; }
    int iconSide() const { return m_iconSide; }
    int cornerRadius() const { return m_cornerRadius; }

    // Any value other than 0 to 5 means no effect.
    void setHoverEffect(int glowNo, QColor glowColor);
    int hoverEffect() const { return m_glowNo; }
    QColor glowColor() const { return m_glowColor; }

    void setIconPixmap(const QPixmap &pixmap);
    QPixmap iconPixmap() const { return m_icon; }
    // The icon is still to be made; the layer asks for it when it paints
    // the button, so a button never in sight never has its icon made.
    void setIconWanted(bool wanted) { m_iconWanted = wanted; }
    bool iconWanted() const { return m_iconWanted; }

    bool isMouseOver() const { return m_mouseOver; }
    qreal rotationAngle() const { return m_rotation; }
    qreal buttonOpacity() const { return m_opacity; }
    // Centre of the magnified view, in the button's coordinates.
    QPointF magnifyCenter() const;
    bool magnifying() const;

    // The entry's file is not there (a drive not mounted): the button shows
    // greyed, yet takes clicks and its menu, so the entry can be told
    // about, edited or deleted.
    void setFileMissing(bool missing);
    bool isFileMissing() const { return m_fileMissing; }

    // While the button is dragged to a new place, its place on the bar shows
    // only a faint trace of it.
    void setLifted(bool lifted);
    bool isLifted() const { return m_lifted; }
    // The focus ring shows while the focus came from the keyboard.
    bool showsFocusRing() const { return m_focusRing && hasFocus(); }
    void showFocusRing();

    // A drag the button will take (files to open with its program) hovers
    // over it: it shows its hover glow and a ring in its own shape.
    void setDropTarget(bool on);
    bool isDropTarget() const { return m_dropTarget; }

    // The area the button may paint, in its parent's coordinates.
    QRect paintRect() const;
    // Paints the button with `painter` in its parent's coordinates.
    void paintButton(QPainter &painter) const;

protected:
    void paintEvent(QPaintEvent *) override {}
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void nextCheckState() override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void makeGreyIcon();
    // Runs a handler of the base class and shows a change of the button's
    // down state it made.
    template<typename Handler>
    void showingDownState(Handler handler);
    void startAnimation(qreal from, qreal to, int msecs, qreal LaunchButton::*target);

    LaunchButtonHost *m_host;
    QString m_filePath;
    int m_iconSide;
    int m_cornerRadius;
    int m_glowNo = 0;
    QColor m_glowColor;
    QPixmap m_icon;
    bool m_iconWanted = false;
    bool m_mouseOver = false;
    qreal m_rotation = 0;
    qreal m_opacity = 1;
    QVariantAnimation *m_animation = nullptr;
    bool m_lifted = false;
    bool m_fileMissing = false;
    QPixmap m_greyIcon; // m_icon without its colours, made when first shown
    bool m_focusRing = false;
    bool m_dropTarget = false;
    std::optional<QPoint> m_pressPos; // where the left button went down, until it is released
};
