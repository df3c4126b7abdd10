// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class TForm1;

// The parameter editor of one entry.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(TForm1 *form1, QWidget *parent = nullptr);

    QLabel *FileName = nullptr;
    QLineEdit *ParamEdit = nullptr;
    QLineEdit *HintEdit = nullptr;

private:
    TForm1 *m_form1;
};
