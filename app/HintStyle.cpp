// SPDX-License-Identifier: MIT
#include "app/HintStyle.h"

int HintStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                         QStyleHintReturn *returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay)
        return kHintDelayMsecs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
