// SPDX-License-Identifier: MIT
// Files dropped on the bar's buttons outside registration mode: which drops
// the bar answers, with what action, and what they start.
#include "BarFixture.h"
#include "BarProbe.h"

#include <QDragMoveEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QMutex>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class TestDropOpen : public QObject, protected BarFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }
    void drops_data();
    void drops();
    void hoverShowsTheTarget();
    void failedStartIsReported();
    void manyStartsAskFirst();

private:
    // The group: a program with a parameter, a text program's desktop entry
    // that takes one file at a time, a document.
    void writeFixture()
    {
        QVERIFY(TestFiles::writeBytes(file(u"tool"_s), "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(file(u"tool"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(
            TestFiles::writeBytes(file(u"text.desktop"_s),
                                  "[Desktop Entry]\nType=Application\nName=Text\nExec=ed %f\nMimeType=text/plain;\n"));
        for (const char *name : {"notes.txt", "a.txt", "red.png"})
            QVERIFY(TestFiles::writeBytes(file(QString::fromLatin1(name)), "x\n"));
        QVERIFY(TestFiles::writeBytes(file(u"QuillbrookPath.txt"_s),
                                      (file(u"tool"_s) + u",-v,Tool\r\n"_s + file(u"text.desktop"_s) + u",,\r\n"_s
                                       + file(u"notes.txt"_s) + u",,notes\r\n"_s)
                                          .toUtf8()));
    }
    // Enters the bar's icon layer, moves to `pos` and, when `release`,
    // drops there; the action the bar answered (IgnoreAction: refused).
    static Qt::DropAction drag(TForm1 &form, const QMimeData &data, QPoint pos, Qt::DropActions possible, bool release)
    {
        QWidget *layer = BarProbe::FlowLayout1(form);
        QDragEnterEvent enter(pos, possible, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(layer, &enter);
        QDragMoveEvent move(pos, possible, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(layer, &move);
        if (!release)
            return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        QDropEvent drop(pos, possible, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(layer, &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    static QPoint centreOf(const TForm1 &form, int button)
    {
        return BarProbe::LaunchBtn(form).at(button)->geometry().center();
    }
};

void TestDropOpen::drops_data()
{
    QTest::addColumn<int>("button"); // -1: the free area
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("asText");
    QTest::addColumn<int>("possible");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("starts"); // file name | parameters | dropped names, sorted

    const int copyMove = Qt::CopyAction | Qt::MoveAction;
    const int copy = Qt::CopyAction, ignore = Qt::IgnoreAction;
    const QStringList two{u"notes.txt"_s, u"a.txt"_s};
    QTest::newRow("program: one start, after its parameters")
        << 0 << two << false << copyMove << copy << QStringList{u"tool|-v|notes.txt a.txt"_s};
    QTest::newRow("%f entry: one start per file")
        << 1 << two << false << copy << copy << QStringList{u"text.desktop||a.txt"_s, u"text.desktop||notes.txt"_s};
    QTest::newRow("link only offered") << 0 << two << false << int(Qt::LinkAction) << int(Qt::LinkAction)
                                       << QStringList{u"tool|-v|notes.txt a.txt"_s};
    QTest::newRow("move only offered") << 0 << two << false << int(Qt::MoveAction) << ignore << QStringList{};
    QTest::newRow("picture on a text entry")
        << 1 << QStringList{u"red.png"_s} << false << copy << ignore << QStringList{};
    QTest::newRow("on a document") << 2 << two << false << copy << ignore << QStringList{};
    QTest::newRow("on the free area") << -1 << two << false << copy << ignore << QStringList{};
    QTest::newRow("text that names files") << 0 << two << true << copy << ignore << QStringList{};
}

void TestDropOpen::drops()
{
    QFETCH(int, button);
    QFETCH(QStringList, names);
    QFETCH(bool, asText);
    QFETCH(int, possible);
    QFETCH(int, answer);
    QFETCH(QStringList, starts);

    writeFixture();
    TForm1 form(home());
    QMutex mutex;
    QStringList started;
    int clicks = 0;
    form.setOpener([&](const QString &, const QString &, const QString &, QString *) { return ++clicks > 0; });
    form.setDropOpener(
        [&](const QString &path, const QString &params, const QString &dir, const QList<QUrl> &files, QString *) {
            QStringList dropped;
            for (const QUrl &url : files)
                dropped.append(url.fileName());
            QMutexLocker lock(&mutex);
            started.append(QFileInfo(path).fileName() + u'|' + params + u'|' + dropped.join(u' '));
            return dir == home().chopped(1);
        });
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 3);
    const QByteArray before = TestFiles::readBytes(file(u"QuillbrookPath.txt"_s));

    QMimeData data;
    QList<QUrl> urls;
    for (const QString &name : std::as_const(names))
        urls.append(QUrl::fromLocalFile(file(name)));
    if (asText)
        data.setText(names.join(u'\n'));
    else
        data.setUrls(urls);
    const QPoint at = button >= 0 ? centreOf(form, button)
                                  : BarProbe::FlowLayout1(form)->rect().bottomRight() - QPoint(3, 3);
    QCOMPARE(int(drag(form, data, at, Qt::DropActions(possible), true)), answer);
    QCoreApplication::processEvents();
    QVERIFY(form.waitForLaunches());
    QMutexLocker lock(&mutex);
    // Several starts run on the launch workers side by side, in any order.
    started.sort();
    QCOMPARE(started, starts);
    QCOMPARE(clicks, 0);
    QCOMPARE(m_shown, QStringList{});
    QCOMPARE(TestFiles::readBytes(file(u"QuillbrookPath.txt"_s)), before);
}

void TestDropOpen::hoverShowsTheTarget()
{
    writeFixture();
    TForm1 form(home());
    form.setDropOpener(
        [](const QString &, const QString &, const QString &, const QList<QUrl> &, QString *) { return true; });
    form.show();
    const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(form);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file(u"notes.txt"_s))});

    QCOMPARE(drag(form, data, centreOf(form, 0), Qt::CopyAction, false), Qt::CopyAction);
    QVERIFY(buttons[0]->isDropTarget());
    // On to the document: it takes nothing and shows nothing.
    QDragMoveEvent move(centreOf(form, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(BarProbe::FlowLayout1(form), &move);
    QVERIFY(!move.isAccepted());
    QVERIFY(!buttons[0]->isDropTarget());
    QVERIFY(!buttons[2]->isDropTarget());
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(BarProbe::FlowLayout1(form), &leave);

    // Registration mode keeps its drop area: the buttons take nothing.
    BarProbe::AddMenu2(BarProbe::menus(form))->trigger();
    QVERIFY(form.isRegistrationAreaShown());
    QCOMPARE(drag(form, data, centreOf(form, 0), Qt::CopyAction, true), Qt::IgnoreAction);
    QVERIFY(!buttons[0]->isDropTarget());
}

void TestDropOpen::failedStartIsReported()
{
    writeFixture();
    TForm1 form(home());
    form.setDropOpener([](const QString &, const QString &, const QString &, const QList<QUrl> &, QString *error) {
        *error = u"no such program"_s;
        return false;
    });
    form.show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file(u"notes.txt"_s))});
    QCOMPARE(drag(form, data, centreOf(form, 0), Qt::CopyAction, true), Qt::CopyAction);
    QCoreApplication::processEvents();
    QVERIFY(form.waitForLaunches());
    // The click's message, as the click gives it.
    QTRY_COMPARE(m_shown, QStringList{file(u"tool"_s) + u" を開けませんでした。no such program"_s});
}

void TestDropOpen::manyStartsAskFirst()
{
    writeFixture();
    TForm1 form(home());
    QMutex mutex;
    int started = 0;
    form.setDropOpener([&](const QString &, const QString &, const QString &, const QList<QUrl> &, QString *) {
        QMutexLocker lock(&mutex);
        return ++started > 0;
    });
    form.show();
    // One more file than starts without a question, on the one-file entry.
    QList<QUrl> urls;
    for (qsizetype i = 0; i <= TForm1::kDropInstancesUnasked; ++i) {
        const QString name = file(u"n%1.txt"_s.arg(i));
        QVERIFY(TestFiles::writeBytes(name, "x\n"));
        urls.append(QUrl::fromLocalFile(name));
    }
    QMimeData data;
    data.setUrls(urls);
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QCOMPARE(drag(form, data, centreOf(form, 1), Qt::CopyAction, true), Qt::CopyAction);
        QMessageBox *box = nullptr;
        QTRY_VERIFY((box = form.findChild<QMessageBox *>()) && box->isVisible());
        QVERIFY(form.waitForLaunches());
        QCOMPARE(std::exchange(started, 0), 0);
        box->button(answer)->click();
        QVERIFY(form.waitForLaunches());
        QMutexLocker lock(&mutex);
        QCOMPARE(std::exchange(started, 0), answer == QMessageBox::Yes ? int(urls.size()) : 0);
        QTRY_VERIFY(!form.findChild<QMessageBox *>());
    }
}

QTEST_MAIN(TestDropOpen)
#include "tst_dropopen.moc"
