// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class TForm1;

// The parameter editor of one entry: the entry's path is shown, its
// parameters and hint can be changed. The bar's edit command fills the
// controls and shows it modally; closing only hides it.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    // With `deferControls` the controls (and the fonts they load) wait for
    // ensureControls(), which the edit command calls before filling them.
    explicit TForm3(TForm1 *form1, QWidget *parent = nullptr, bool deferControls = false);
    void ensureControls();

    QLabel *FileName = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button3 = nullptr;
    QLineEdit *ParamEdit = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *HintEdit = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    // Asks the user for a file, starting in `folder` (empty: wherever the
    // file dialog likes); an empty string when cancelled. Tests replace it
    // so that no dialog blocks them.
    std::function<QString(QWidget *parent, const QString &folder)> OpenDialog1;

    // The current group's entry the next opening shows and "変更" replaces;
    // the bar's edit command chooses it.
    void editEntry(int index);
    int editedEntry() const { return m_index; }

    void FormShow();
    // Runs on every closing: "変更", "破棄", Escape or the close box.
    void FormClose();
    // "変更"
    void Button1Click();
    // "破棄"
    void Button2Click();
    // "ファイル選択"
    void Button3Click();
    // Where "ファイル選択" starts: the edited entry's folder, or the entry
    // itself when it is a folder; empty when neither is there.
    QString startFolder() const;

    // A picked path as a parameter that reaches the program as one argument.
    static QString pathAsParameter(const QString &path);

    // As drawn for the Japanese texts; a translation's longer texts may
    // widen it.
    static constexpr QSize kClientSize{316, 242};

    void done(int result) override;
    // Builds the controls before the first showing.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TForm1 *m_form1;
    int m_index = 0;
};
