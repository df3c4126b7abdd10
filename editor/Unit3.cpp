// SPDX-License-Identifier: MIT
#include "editor/Unit3.h"

#include "app/Unit1.h"
#include "core/entries/EntryLine.h"
#include "launcher/LaunchButton.h"
#include "settings/DialogTheme.h"
#include "settings/TextFit.h"
#include "core/entries/PathRules.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

TForm3::TForm3(TForm1 *form1, QWidget *parent, bool deferControls)
    : QDialog(parent, Qt::Tool)
    , m_form1(form1)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("パラメータ編集"));
    setFixedSize(kClientSize);
    OpenDialog1 = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, QString(), folder);
    };
    connect(m_form1, &TForm1::entryEditRequested, this, &TForm3::editEntry);
    if (!deferControls)
        ensureControls();
}

void TForm3::ensureControls()
{
    if (FileName)
        return;
    FileName = new QLabel(this);
    FileName->setObjectName(QStringLiteral("FileName"));
    FileName->setGeometry(0, 0, kClientSize.width(), 25);
    // A path is shown as it is, never read as markup.
    FileName->setTextFormat(Qt::PlainText);
    Label2 = new QLabel(tr("アプリに渡すファイルを指定"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 56, 166, 20);
    Button3 = new QPushButton(tr("ファイル選択"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(192, 48, 89, 30);
    ParamEdit = new QLineEdit(this);
    ParamEdit->setObjectName(QStringLiteral("ParamEdit"));
    ParamEdit->setGeometry(24, 88, 273, 25);
    Label1 = new QLabel(tr("Hint"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(32, 128, 120, 20);
    HintEdit = new QLineEdit(this);
    HintEdit->setObjectName(QStringLiteral("HintEdit"));
    HintEdit->setGeometry(24, 152, 273, 22);
    // A label's buddy is what screen readers name its field by.
    Label2->setBuddy(ParamEdit);
    Label1->setBuddy(HintEdit);
    //: Button: saves the entry.
    Button1 = new QPushButton(tr("変更"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(32, 192, 113, 33);
    //: Button: discards the changes.
    Button2 = new QPushButton(tr("破棄"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(176, 192, 105, 33);
    // Enter in a field presses "変更" and nothing else.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    Button3->setAutoDefault(false);
    Button1->setDefault(true);

    applyDialogTheme(this);
    // The places are drawn for the Japanese texts.
    fitTextsInDialog(this);

    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // On the bar's screen, where the user is looking.
    centreOnScreen(this, m_form1->screen());
    FormShow();
}

void TForm3::setVisible(bool visible)
{
    if (visible)
        ensureControls();
    QDialog::setVisible(visible);
}

void TForm3::keyPressEvent(QKeyEvent *event)
{
    // Escape discards as "破棄" does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && Button2) {
        Button2->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm3::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm3::FormShow()
{
    m_form1->suspendStealth();
    // A line that splits into fewer fields shows the missing ones empty.
    const QStringList fields = splitEntryLine(m_form1->currentGroup().line(m_index));
    FileName->setText(fields.value(0));
    ParamEdit->setText(fields.value(1));
    HintEdit->setText(fields.value(2));
}

void TForm3::FormClose()
{
    m_form1->resumeStealth();
}

void TForm3::Button1Click()
{
    TForm1 *f = m_form1;
    const int index = m_index;
    const int group = f->MenuIndex();
    f->clearAddMenuCheck();
    const TRec entry{FileName->text(), ParamEdit->text(), HintEdit->text()};
    GroupResult result = f->LaunchPath.replace(group, index, entry);
    // What cannot be an entry (no file) leaves the entry as it was.
    const bool refused = result.failure == GroupResult::NotAnEntry || result.failure == GroupResult::BadPosition;
    if (refused)
        result = f->LaunchPath.save(group);
    if (result) {
        accept();
        return;
    }
    // The group was read again from its file: entry `index` may be another
    // one now, and a second "変更" would write over it.
    if (f->currentGroup().line(index) != (refused ? QString() : joinEntryLine(entry)))
        reject();
}

void TForm3::editEntry(int index)
{
    m_index = index;
}

void TForm3::Button2Click()
{
    m_form1->clearAddMenuCheck();
    reject();
}

QString TForm3::startFolder() const
{
    // A folder entry is the folder to look in; a file's is the one holding it.
    const QString entry = FileName->text();
    const QFileInfo info(entry);
    const QString folder = info.isDir() ? entry : workingDirectoryOf(entry);
    return QFileInfo(folder).isDir() ? folder : QString();
}

void TForm3::Button3Click()
{
    const QString path = OpenDialog1 ? OpenDialog1(this, startFolder()) : QString();
    if (!path.isEmpty())
        ParamEdit->setText(pathAsParameter(path));
}

QString TForm3::pathAsParameter(const QString &path)
{
    // Parameters are split into words as a POSIX shell splits them: blanks
    // separate, quotes and backslashes are special.
    const bool plain = std::none_of(path.cbegin(), path.cend(),
                                    [](QChar c) { return c.isSpace() || c == u'"' || c == u'\'' || c == u'\\'; });
    if (plain)
        return path;
    QString escaped = path;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}
