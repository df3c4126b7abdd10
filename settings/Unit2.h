// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// The settings dialog.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
};
