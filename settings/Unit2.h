// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class TForm1;

// The settings dialog.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(TForm1 *form1, QWidget *parent = nullptr);

private:
    TForm1 *m_form1;
};
