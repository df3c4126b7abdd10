// SPDX-License-Identifier: MIT
#include "editor/Unit3.h"

TForm3::TForm3(QWidget *parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("パラメータ編集"));
    resize(316, 242);
}
