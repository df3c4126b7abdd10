// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// The parameter editor of one entry.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget *parent = nullptr);
};
