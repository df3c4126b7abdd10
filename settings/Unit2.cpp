// SPDX-License-Identifier: MIT
#include "settings/Unit2.h"

TForm2::TForm2(TForm1 *form1, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_form1(form1)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("設定"));
    resize(541, 591);
}
