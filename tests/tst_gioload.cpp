// SPDX-License-Identifier: MIT
// GIO is loaded when a file is first opened, not linked. When it cannot be
// loaded, what needs it fails with a reason and the rest still works. Each
// case runs this program again as a probe with a broken libgio-2.0.so.0
// first on its library path: the loader picks that one, and the probe would
// not even start if the launcher's libraries linked GIO.
#include "platform/Opener.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#ifndef QB_NOT_GIO
#error "QB_NOT_GIO must name a shared library without GIO's functions"
#endif

using namespace Qt::StringLiterals;

namespace {

QJsonValue outcome(bool ok, const QString &error)
{
    return ok ? QJsonValue(true) : QJsonValue(error);
}

// Runs in the probe: a folder, a desktop entry and a program, opened from
// the directory given as the first argument.
int probe(const QString &dir)
{
    const QString entry = dir + u"/app.desktop"_s;
    const QString program = dir + u"/program"_s;
    QString folderError, entryError, programError;
    const bool folderOk = Opener::open(dir, {}, dir, &folderError);
    const bool entryOk = Opener::open(entry, {}, dir, &entryError);
    const bool programOk = Opener::open(program, u"started"_s, dir, &programError);
    const QJsonObject results{
        {u"folder"_s, outcome(folderOk, folderError)},
        {u"entry"_s, outcome(entryOk, entryError)},
        {u"program"_s, outcome(programOk, programError)},
    };
    std::fputs(QJsonDocument(results).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

} // namespace

class TestGioLoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missing_data();
    void missing();
};

void TestGioLoad::missing_data()
{
    QTest::addColumn<QByteArray>("library");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a library") << QByteArray("not an ELF file\n") << u"libgio-2.0.so.0"_s;
    QFile notGio(QStringLiteral(QB_NOT_GIO));
    QVERIFY(notGio.open(QIODevice::ReadOnly));
    QTest::newRow("a library without GIO's functions") << notGio.readAll() << u"g_object_unref"_s;
}

void TestGioLoad::missing()
{
    QFETCH(QByteArray, library);
    QFETCH(QString, reason);
    QTemporaryDir libs, work;
    QVERIFY(libs.isValid() && work.isValid());
    QVERIFY(TestFiles::writeBytes(libs.filePath(u"libgio-2.0.so.0"_s), library));
    QVERIFY(TestFiles::writeBytes(work.filePath(u"app.desktop"_s),
                                  "[Desktop Entry]\nType=Application\nName=App\nExec=true\n"));
    QVERIFY(TestFiles::writeBytes(work.filePath(u"program"_s), "#!/bin/sh\ntouch \"$1\"\n"));
    QVERIFY(QFile::setPermissions(work.filePath(u"program"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LD_LIBRARY_PATH"_s, libs.path());
    env.insert(u"QB_GIOLOAD_PROBE"_s, u"1"_s);
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QCoreApplication::applicationFilePath(), {work.path()});
    QVERIFY(probe.waitForFinished(60000));
    QVERIFY2(probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0,
             probe.readAllStandardError().constData());
    const QJsonObject results = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();

    // No translator in the probe: the reason reads as written in the code.
    for (const char *needsGio : {"folder", "entry"}) {
        const QString error = results.value(QLatin1String(needsGio)).toString();
        QVERIFY2(error.startsWith(u"GIO を読み込めません。"_s) && error.contains(reason), qPrintable(error));
    }
    // A program is started by GLib alone.
    QCOMPARE(results.value(u"program"_s), QJsonValue(true));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(work.filePath(u"started"_s)), 10000);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("QB_GIOLOAD_PROBE"))
        return probe(QString::fromLocal8Bit(argv[1]));
    TestGioLoad test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gioload.moc"
