// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

// The application's style with the hints' timing of the launcher's design:
// a hint shows after the pointer has rested half a second, a little sooner
// than Qt's default.
class HintStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    static constexpr int kHintDelayMsecs = 500;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
