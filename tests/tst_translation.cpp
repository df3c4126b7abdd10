// SPDX-License-Identifier: MIT
// The English interface: chosen by the user's interface languages, never
// under a C/POSIX locale, and Japanese stays exactly as written otherwise.
// Qt reads the locale once per process, so each case runs this program
// again as a probe that prints what the user would read.
#include "app/Translation.h"
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "settings/Unit2.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QApplication>
#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Runs in the probe: the bar, both dialogs and one message, on a home whose
// settings hold the second group's name as the user typed it.
int probe()
{
    installTranslation(qApp);
    BarFixture fixture;
    if (!fixture.setUp())
        return 1;
    QStringList shown;
    ErrorReport::setHandlers([&shown](const QString &message) { shown.append(message); }, {});
    fixture.writeIni("[Menu]\r\nName1=メニュー2\r\n");
    TForm1 form1(fixture.home());
    TForm2 form2(&form1);
    TForm3 form3(&form1);
    form1.DropTarget1Dropped({u"/tmp/a\nb"_s});
    const QJsonObject texts{
        {u"Seting2"_s, BarProbe::Seting2(BarProbe::menus(form1))->text()},
        {u"StartAtLogin"_s, BarProbe::StartAtLogin(BarProbe::menus(form1))->text()},
        {u"CloseCmd2"_s, BarProbe::CloseCmd2(BarProbe::menus(form1))->text()},
        {u"MenuItem6"_s, BarProbe::MenuItem6(BarProbe::menus(form1))->title()},
        {u"PopupMenu2"_s, BarProbe::PopupMenu2(BarProbe::menus(form1))->accessibleName()},
        {u"group0"_s, form1.groupName(0)},
        {u"group1"_s, form1.groupName(1)},
        {u"Form2"_s, form2.windowTitle()},
        {u"GraCheck"_s, form2.GraCheck->text()},
        {u"Button2"_s, form3.Button2->text()},
        {u"message"_s, shown.value(0)},
    };
    std::fputs(QJsonDocument(texts).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void prefers_data();
    void prefers();
    void interface_data();
    void interface();
};

void TestTranslation::prefers_data()
{
    QTest::addColumn<QStringList>("languages");
    QTest::addColumn<bool>("cLocale");
    QTest::addColumn<bool>("english");
    QTest::newRow("English") << QStringList{u"en-US"_s} << false << true;
    QTest::newRow("Japanese") << QStringList{u"ja-JP"_s} << false << false;
    QTest::newRow("English before Japanese") << QStringList{u"en-GB"_s, u"ja"_s} << false << true;
    QTest::newRow("Japanese before English") << QStringList{u"ja"_s, u"en"_s} << false << false;
    QTest::newRow("German, then English") << QStringList{u"de-DE"_s, u"en"_s} << false << true;
    QTest::newRow("neither") << QStringList{u"de-DE"_s, u"fr"_s} << false << true;
    QTest::newRow("French, then Japanese") << QStringList{u"fr-FR"_s, u"ja"_s} << false << false;
    QTest::newRow("none") << QStringList{} << false << false;
    QTest::newRow("C locale, reported as English") << QStringList{u"en-US"_s} << true << false;
}

void TestTranslation::prefers()
{
    QFETCH(QStringList, languages);
    QFETCH(bool, cLocale);
    QFETCH(bool, english);
    QCOMPARE(prefersEnglish(languages, cLocale), english);
}

void TestTranslation::interface_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("english");
    QTest::newRow("LANGUAGE=en") << QStringList{u"LANGUAGE=en"_s, u"LC_ALL=C.UTF-8"_s} << true;
    QTest::newRow("LANG=en_US.UTF-8") << QStringList{u"LANG=en_US.UTF-8"_s} << true;
    QTest::newRow("French, then English") << QStringList{u"LANGUAGE=fr:en"_s, u"LANG=fr_FR.UTF-8"_s} << true;
    QTest::newRow("LANG=C.UTF-8") << QStringList{u"LANG=C.UTF-8"_s} << false;
    QTest::newRow("LC_ALL=POSIX") << QStringList{u"LC_ALL=POSIX"_s} << false;
    QTest::newRow("LANG=ja_JP.UTF-8") << QStringList{u"LANG=ja_JP.UTF-8"_s} << false;
    QTest::newRow("Japanese before English") << QStringList{u"LANGUAGE=ja:en"_s, u"LANG=en_US.UTF-8"_s} << false;
    QTest::newRow("LANG=fr_FR.UTF-8") << QStringList{u"LANG=fr_FR.UTF-8"_s} << true;
    QTest::newRow("LANG=de_DE.UTF-8") << QStringList{u"LANG=de_DE.UTF-8"_s} << true;
    QTest::newRow("German, then Japanese") << QStringList{u"LANGUAGE=de:ja"_s, u"LANG=de_DE.UTF-8"_s} << false;
    QTest::newRow("LANG=ja_JP, LANGUAGE empty") << QStringList{u"LANG=ja_JP.UTF-8"_s, u"LANGUAGE="_s} << false;
}

void TestTranslation::interface()
{
    QFETCH(QStringList, environment);
    QFETCH(bool, english);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        env.remove(QString::fromLatin1(name));
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    env.insert(u"QB_TRANSLATION_PROBE"_s, u"1"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitCode(), 0);
    const QJsonObject texts = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();

    const QJsonObject expected =
        english ? QJsonObject{{u"Seting2"_s, u"Settings"_s},
                              {u"StartAtLogin"_s, u"Start at login"_s},
                              {u"CloseCmd2"_s, u"Quit"_s},
                              {u"MenuItem6"_s, u"Select group"_s},
                              {u"group0"_s, u"Menu 1"_s},
                              {u"group1"_s, u"メニュー2"_s},
                              {u"Form2"_s, u"Settings"_s},
                              {u"GraCheck"_s, u"Gradient"_s},
                              {u"Button2"_s, u"Discard"_s},
                              {u"message"_s, u"/tmp/a\nb contains a line break and cannot be registered."_s}}
                : QJsonObject{{u"Seting2"_s, u"設定"_s},
                              {u"StartAtLogin"_s, u"ログイン時に起動"_s},
                              {u"CloseCmd2"_s, u"終了"_s},
                              {u"MenuItem6"_s, u"グループ選択"_s},
                              {u"group0"_s, u"メニュー1"_s},
                              {u"group1"_s, u"メニュー2"_s},
                              {u"Form2"_s, u"設定"_s},
                              {u"GraCheck"_s, u"グラジエント"_s},
                              {u"Button2"_s, u"破棄"_s},
                              {u"message"_s, u"/tmp/a\nb は改行を含むため登録できません。"_s}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(texts.value(it.key()).toString(), it.value().toString());
    // What a screen reader calls the bar's menu.
    QCOMPARE(texts.value(u"PopupMenu2"_s).toString(), english ? u"Launcher menu"_s : u"ランチャーのメニュー"_s);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("QB_TRANSLATION_PROBE"))
        return probe();
    TestTranslation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translation.moc"
