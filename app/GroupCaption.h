// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QVariantAnimation;

// The name of the group just switched to, over the plate for about a
// second and fading: an empty group then does not look like lost buttons.
// It takes no input and changes nothing beneath it.
class GroupCaption : public QWidget
{
    Q_OBJECT

public:
    explicit GroupCaption(QWidget *parent = nullptr);

    // In the middle of the plate, or at its top (`atTop`) where the middle
    // holds the drop area's text.
    void showName(const QString &name, bool atTop = false);
    QString name() const { return m_name; }
    // The caption fully shown, then faded out, in all.
    static constexpr int kShownMsecs = 1100;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    bool m_atTop = false;
    qreal m_opacity = 0;
    QVariantAnimation *m_fade;
};
