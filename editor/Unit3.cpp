// SPDX-License-Identifier: MIT
#include "editor/Unit3.h"

#include <QLabel>
#include <QLineEdit>

TForm3::TForm3(TForm1 *form1, QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_form1(form1)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("パラメータ編集"));
    resize(316, 242);
    FileName = new QLabel(this);
    ParamEdit = new QLineEdit(this);
    HintEdit = new QLineEdit(this);
}
