// SPDX-License-Identifier: MIT
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/files/FileStamp.h"
#include "TestFiles.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <glib.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

// The words a parameter string splits into for a started program.
QStringList shellWords(const QString &params)
{
    gchar **argv = nullptr;
    if (!g_shell_parse_argv(params.toUtf8().constData(), nullptr, &argv, nullptr))
        return {u"<unparsable>"_s};
    QStringList words;
    for (gchar **word = argv; *word; ++word)
        words.append(QString::fromUtf8(*word));
    g_strfreev(argv);
    return words;
}

enum class Closing { Change, Discard, CloseBox, EscapeKey };

} // namespace

Q_DECLARE_METATYPE(Closing)

class TestParameterEditor : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm3> m_form3;

    QString groupFile() const { return file(groupFileName(0)); }

    void start();
    // Runs the bar's edit command on button `index`; `whileOpen` runs while
    // the editor is shown, and the editor is closed after it if still open.
    void editEntry(int index, const std::function<void()> &whileOpen);
    void close(Closing how);

private Q_SLOTS:
    void init();
    void cleanup();

    void windowAndCaptions();
    void timerAndOpacity_data();
    void timerAndOpacity();
    void change_data();
    void change();
    void discardAndCloseBox_data();
    void discardAndCloseBox();
    void enterInFieldPressesChange_data();
    void enterInFieldPressesChange();
    void saveFailureKeepsEditorOpen();
    void shortLineShowsEmptyFields();
    void filePicking_data();
    void filePicking();
    void filePickerStartsInEntryFolder_data();
    void filePickerStartsInEntryFolder();
};

void TestParameterEditor::init()
{
    QVERIFY(setUp());
    QVERIFY(writeBytes(file(u"a.txt"_s), "a"));
    QVERIFY(writeBytes(file(u"b.sh"_s), "b"));
    QVERIFY(writeBytes(groupFile(), (file(u"a.txt"_s) + u",,a\r\n"_s + file(u"b.sh"_s) + u",-x,Bee\r\n"_s).toUtf8()));
}

void TestParameterEditor::cleanup()
{
    m_form3.reset();
    m_form1.reset();
    tearDown();
}

void TestParameterEditor::start()
{
    m_form1 = std::make_unique<TForm1>(home());
    m_form3 = std::make_unique<TForm3>(m_form1.get());
    m_form1->setDialogs(nullptr, m_form3.get());
    m_form3->OpenDialog1 = [](QWidget *, const QString &) -> QString { qFatal("no file dialog in tests"); };
    BarProbe::FormShow(*m_form1);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1).size(), 2);
}

void TestParameterEditor::editEntry(int index, const std::function<void()> &whileOpen)
{
    BarProbe::ButtonMouseEnter(*m_form1, BarProbe::LaunchBtn(*m_form1).at(index));
    QTimer::singleShot(0, m_form3.get(), [this, whileOpen] {
        whileOpen();
        if (m_form3->isVisible())
            m_form3->done(QDialog::Rejected);
    });
    BarProbe::EditCmdClick(*m_form1);
    QVERIFY(m_form3->isHidden());
}

void TestParameterEditor::close(Closing how)
{
    switch (how) {
    case Closing::Change:
        QTest::mouseClick(m_form3->Button1, Qt::LeftButton);
        break;
    case Closing::Discard:
        QTest::mouseClick(m_form3->Button2, Qt::LeftButton);
        break;
    case Closing::CloseBox:
        m_form3->close();
        break;
    case Closing::EscapeKey:
        QTest::keyClick(m_form3->HintEdit, Qt::Key_Escape);
        break;
    }
}

void TestParameterEditor::windowAndCaptions()
{
    start();
    QVERIFY(m_form3->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(m_form3->size(), QSize(316, 242));
    QCOMPARE(m_form3->windowTitle(), u"パラメータ編集"_s);
    QVERIFY(!m_form3->styleSheet().isEmpty());
    QCOMPARE(m_form3->Label2->text(), u"アプリに渡すファイルを指定"_s);
    QCOMPARE(m_form3->Button3->text(), u"ファイル選択"_s);
    QCOMPARE(m_form3->Label1->text(), u"Hint"_s);
    QCOMPARE(m_form3->Button1->text(), u"変更"_s);
    QCOMPARE(m_form3->Button2->text(), u"破棄"_s);
    QCOMPARE(m_form3->ParamEdit->geometry(), QRect(24, 88, 273, 25));

    // The edit command fills the fields from the entry's line.
    editEntry(1, [this] {
        QVERIFY(m_form3->isModal());
        QCOMPARE(m_form3->FileName->text(), file(u"b.sh"_s));
        QCOMPARE(m_form3->ParamEdit->text(), u"-x"_s);
        QCOMPARE(m_form3->HintEdit->text(), u"Bee"_s);
    });
    QCOMPARE(m_form3->editedEntry(), 1);
}

void TestParameterEditor::timerAndOpacity_data()
{
    QTest::addColumn<bool>("stealth");
    QTest::addColumn<Closing>("closing");

    for (bool stealth : {false, true}) {
        const char *mode = stealth ? "stealth" : "no stealth";
        QTest::addRow("%s, 変更", mode) << stealth << Closing::Change;
        QTest::addRow("%s, 破棄", mode) << stealth << Closing::Discard;
        QTest::addRow("%s, close box", mode) << stealth << Closing::CloseBox;
    }
}

void TestParameterEditor::timerAndOpacity()
{
    QFETCH(bool, stealth);
    QFETCH(Closing, closing);

    start();
    BarSettings settings = m_form1->settings();
    settings.isStealth = stealth;
    QVERIFY(m_form1->applySettings(settings, false));
    // Whatever the timer did before, closing runs it exactly in stealth mode.
    BarProbe::Timer1(*m_form1)->start();
    BarProbe::FlowLayout1(*m_form1)->setOpacity(0);
    editEntry(0, [this, closing] {
        QVERIFY(!BarProbe::Timer1(*m_form1)->isActive());
        QCOMPARE(BarProbe::FlowLayout1(*m_form1)->opacity(), 1.0);
        close(closing);
    });
    QCOMPARE(BarProbe::Timer1(*m_form1)->isActive(), stealth);
}

void TestParameterEditor::change_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("showHint");
    QTest::addColumn<QString>("line");

    const QString path = u"%1b.sh"_s;
    QTest::newRow("unchanged") << "-x"
                               << "Bee" << true << path + u",-x,Bee"_s;
    QTest::newRow("both empty") << ""
                                << "" << true << path + u",,"_s;
    QTest::newRow("comma in parameter") << "-a,b"
                                        << "Bee" << true << path + u",\"-a,b\",Bee"_s;
    QTest::newRow("leading quote in hint") << "-x"
                                           << "\"big\" one" << true << path + u",-x,\"\"\"big\"\" one\""_s;
    QTest::newRow("quote inside") << "say \"hi\""
                                  << "a \"b\"" << true << path + u",say \"hi\",a \"b\""_s;
    QTest::newRow("path with blanks, Japanese hint") << "\"/tmp/a b.txt\""
                                                     << "ビー" << true << path + u",\"\"\"/tmp/a b.txt\"\"\",ビー"_s;
    QTest::newRow("hints off") << "-y"
                               << "New" << false << path + u",-y,New"_s;
}

void TestParameterEditor::change()
{
    QFETCH(QString, param);
    QFETCH(QString, hint);
    QFETCH(bool, showHint);
    QFETCH(QString, line);
    line = line.arg(home());

    start();
    BarSettings settings = m_form1->settings();
    settings.FShowhint = showHint;
    QVERIFY(m_form1->applySettings(settings, false));
    LaunchButton *button = BarProbe::LaunchBtn(*m_form1).at(1);
    const QString tipBefore = button->toolTip();
    BarProbe::AddMenu(BarProbe::menus(*m_form1))->setChecked(true);
    // Saved even when nothing changed: the file is replaced by a new one.
    const FileStamp before = fileStamp(groupFile());

    editEntry(1, [&] {
        m_form3->ParamEdit->setText(param);
        m_form3->HintEdit->setText(hint);
        close(Closing::Change);
    });
    QCOMPARE(m_form1->LaunchPath[0]->lines().at(1), line);
    QCOMPARE(m_form1->LaunchPath[0]->lines().size(), 2);
    QCOMPARE(QString::fromUtf8(readBytes(groupFile())), file(u"a.txt"_s) + u",,a\r\n"_s + line + u"\r\n"_s);
    QVERIFY(fileStamp(groupFile()) != before);
    QCOMPARE(button->toolTip(), showHint ? hint : tipBefore);
    QVERIFY(!BarProbe::AddMenu(BarProbe::menus(*m_form1))->isChecked());
    QVERIFY(m_shown.isEmpty());

    // Whatever was typed comes back as typed after the group is read again.
    BarProbe::removeAllButtons(*m_form1);
    BarProbe::LoadGroup(*m_form1, 0);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1).size(), 2);
    editEntry(1, [&] {
        QCOMPARE(m_form3->FileName->text(), file(u"b.sh"_s));
        QCOMPARE(m_form3->ParamEdit->text(), param);
        QCOMPARE(m_form3->HintEdit->text(), hint);
    });
}

void TestParameterEditor::discardAndCloseBox_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<bool>("addMenuAfter");

    QTest::newRow("破棄") << Closing::Discard << false;
    QTest::newRow("close box") << Closing::CloseBox << true;
    QTest::newRow("Escape") << Closing::EscapeKey << false;
}

void TestParameterEditor::enterInFieldPressesChange_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("parameters") << u"ParamEdit"_s;
    QTest::newRow("hint") << u"HintEdit"_s;
}

void TestParameterEditor::enterInFieldPressesChange()
{
    QFETCH(QString, field);

    start();
    editEntry(1, [&] {
        m_form3->ParamEdit->setText(u"-e"_s);
        QLineEdit *edit = m_form3->findChild<QLineEdit *>(field);
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(m_form3->isHidden());
    });
    QCOMPARE(m_form1->LaunchPath[0]->lines().at(1), file(u"b.sh"_s) + u",-e,Bee"_s);
    QVERIFY(readBytes(groupFile()).contains(",-e,Bee"));
}

void TestParameterEditor::discardAndCloseBox()
{
    QFETCH(Closing, closing);
    QFETCH(bool, addMenuAfter);

    start();
    const QStringList lines = m_form1->LaunchPath[0]->lines();
    const QByteArray fileBefore = readBytes(groupFile());
    const QString tipBefore = BarProbe::LaunchBtn(*m_form1).at(1)->toolTip();
    BarProbe::AddMenu(BarProbe::menus(*m_form1))->setChecked(true);

    editEntry(1, [&] {
        m_form3->ParamEdit->setText(u"changed"_s);
        m_form3->HintEdit->setText(u"changed"_s);
        close(closing);
    });
    QCOMPARE(m_form1->LaunchPath[0]->lines(), lines);
    QCOMPARE(readBytes(groupFile()), fileBefore);
    QCOMPARE(BarProbe::LaunchBtn(*m_form1).at(1)->toolTip(), tipBefore);
    QCOMPARE(BarProbe::AddMenu(BarProbe::menus(*m_form1))->isChecked(), addMenuAfter);
}

void TestParameterEditor::saveFailureKeepsEditorOpen()
{
    start();
    // A folder in the file's place cannot be written, not even by root.
    QVERIFY(QFile::remove(groupFile()));
    QVERIFY(QDir(home()).mkdir(groupFileName(0)));

    editEntry(1, [this] {
        m_form3->ParamEdit->setText(u"-z"_s);
        close(Closing::Change);
        QVERIFY(m_form3->isVisible());
        QCOMPARE(m_shown.size(), 1);
    });
    // The line changed in memory all the same.
    QCOMPARE(m_form1->LaunchPath[0]->lines().at(1), file(u"b.sh"_s) + u",-z,Bee"_s);
    QVERIFY(QFileInfo(groupFile()).isDir());
}

void TestParameterEditor::shortLineShowsEmptyFields()
{
    QVERIFY(writeBytes(groupFile(), (file(u"a.txt"_s) + u"\r\n"_s + file(u"b.sh"_s) + u",-x\r\n"_s).toUtf8()));
    start();
    editEntry(0, [this] {
        QCOMPARE(m_form3->ParamEdit->text(), QString());
        QCOMPARE(m_form3->HintEdit->text(), QString());
        m_form3->HintEdit->setText(u"A"_s);
        close(Closing::Change);
    });
    QCOMPARE(m_form1->LaunchPath[0]->lines().at(0), file(u"a.txt"_s) + u",,A"_s);
}

void TestParameterEditor::filePicking_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("param");

    QTest::newRow("cancelled") << ""
                               << "-x";
    QTest::newRow("plain path") << "/home/u/notes.txt"
                                << "/home/u/notes.txt";
    QTest::newRow("blanks") << "/home/u/My Docs/a b.txt"
                            << "\"/home/u/My Docs/a b.txt\"";
    QTest::newRow("tab") << "/home/u/a\tb.txt"
                         << "\"/home/u/a\tb.txt\"";
    QTest::newRow("blank and quote") << "/home/u/say \"hi\".txt"
                                     << "\"/home/u/say \\\"hi\\\".txt\"";
    QTest::newRow("apostrophe") << "/home/u/it's.txt"
                                << "\"/home/u/it's.txt\"";
    QTest::newRow("backslash") << "/home/u/a\\b.txt"
                               << "\"/home/u/a\\\\b.txt\"";
    QTest::newRow("dollar stays literal") << "/home/u/$HOME x"
                                          << "\"/home/u/$HOME x\"";
}

void TestParameterEditor::filePicking()
{
    QFETCH(QString, picked);
    QFETCH(QString, param);

    start();
    QWidget *parent = nullptr;
    m_form3->OpenDialog1 = [&](QWidget *p, const QString &) {
        parent = p;
        return picked;
    };
    editEntry(1, [&] {
        QTest::mouseClick(m_form3->Button3, Qt::LeftButton);
        QCOMPARE(parent, m_form3.get());
        QCOMPARE(m_form3->ParamEdit->text(), param);
    });
    // The program gets the picked path as one argument.
    if (!picked.isEmpty())
        QCOMPARE(shellWords(param), QStringList{picked});
}

void TestParameterEditor::filePickerStartsInEntryFolder_data()
{
    QTest::addColumn<QString>("entry");  // under the test's folder
    QTest::addColumn<QString>("folder"); // where the file dialog starts, likewise
    QTest::addColumn<bool>("starts");    // false: no folder is suggested
    QTest::newRow("file") << u"sub/c.txt"_s << u"sub"_s << true;
    QTest::newRow("folder") << u"sub"_s << u"sub"_s << true;
    QTest::newRow("folder gone") << u"gone/c.txt"_s << QString() << false;
}

void TestParameterEditor::filePickerStartsInEntryFolder()
{
    QFETCH(QString, entry);
    QFETCH(QString, folder);
    QFETCH(bool, starts);

    QVERIFY(QDir().mkpath(file(u"sub"_s)));
    QVERIFY(writeBytes(file(u"sub/c.txt"_s), "c"));
    QVERIFY(writeBytes(groupFile(), (file(entry) + u",,c\r\n"_s + file(u"b.sh"_s) + u",,b\r\n"_s).toUtf8()));
    start();
    QString offered = u"not asked"_s;
    m_form3->OpenDialog1 = [&](QWidget *, const QString &start) {
        offered = start;
        return QString();
    };
    editEntry(0, [&] { QTest::mouseClick(m_form3->Button3, Qt::LeftButton); });
    QCOMPARE(offered, starts ? QDir::cleanPath(file(folder)) : QString());
}

QTEST_MAIN(TestParameterEditor)
#include "tst_parametereditor.moc"
