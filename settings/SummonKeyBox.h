// SPDX-License-Identifier: MIT
#pragma once

#include "core/settings/SummonKey.h"

#include <QWidget>

class QCheckBox;
class QKeySequenceEdit;

// The settings dialog's choice of the summoning key: a check box that turns
// it on or off and a field that records a new combination. A combination
// that would steal typing from the desktop (no Ctrl, Alt or Super) is
// refused there and then, and the field shows the key it had.
class SummonKeyBox : public QWidget
{
    Q_OBJECT

public:
    explicit SummonKeyBox(QWidget *parent = nullptr);

    void setValue(const SummonKey &value);
    SummonKey value() const;

private:
    void takeRecorded();
    void showKey();

    QCheckBox *m_on;
    QKeySequenceEdit *m_edit;
    // The combination shown, kept while the key is off so that ticking the
    // box again brings it back.
    QKeyCombination m_key = SummonKey::defaultKey().key;
};
