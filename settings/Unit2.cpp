// SPDX-License-Identifier: MIT
#include "settings/Unit2.h"

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("設定"));
    resize(541, 591);
}
