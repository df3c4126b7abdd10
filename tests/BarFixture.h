// SPDX-License-Identifier: MIT
#pragma once

// What every test of the bar starts from: a home folder of its own, and the
// launcher's messages caught instead of shown, so that no dialog blocks the
// run and a test can check what the user would have read. A test object
// inherits it, calls setUp() in init() and tearDown() in cleanup(), once its
// windows are gone.
#include "app/ErrorReport.h"
#include "TestFiles.h"

#include <QAbstractAnimation>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>

class BarFixture
{
public:
    BarFixture() = default;
    BarFixture(const BarFixture &) = delete;
    BarFixture &operator=(const BarFixture &) = delete;
    ~BarFixture() { tearDown(); }

    // A new, empty home and the handlers; false when no temporary folder
    // could be made.
    bool setUp()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_shown.clear();
        m_shownOn.clear();
        m_asked.clear();
        m_closeAnswer = [] { return ErrorReport::CloseChoice::Stay; };
        ErrorReport::setHandlers(
            [this](const QString &message) {
                m_shown.append(message);
                m_shownOn.append(QThread::currentThread());
            },
            [this](const QString &message) {
                m_asked.append(message);
                return m_closeAnswer();
            });
        return m_dir->isValid();
    }

    // The launcher's own handlers again, and the home removed.
    void tearDown()
    {
        ErrorReport::setHandlers({}, {});
        m_dir.reset();
    }

    // Ends in "/", as TForm1 wants its home.
    QString home() const { return m_dir->path() + u'/'; }
    QString file(const QString &name) const { return home() + name; }
    void writeIni(const QByteArray &text)
    {
        QVERIFY(TestFiles::writeBytes(file(QStringLiteral("Quillbrook.ini")), text));
    }

    // Nothing on the bar glides or fades any more: no timer is left running.
    static bool settled(const QObject &bar)
    {
        const QList<QAbstractAnimation *> animations = bar.findChildren<QAbstractAnimation *>();
        return std::none_of(animations.cbegin(), animations.cend(),
                            [](const QAbstractAnimation *a) { return a->state() == QAbstractAnimation::Running; });
    }

protected:
    std::unique_ptr<QTemporaryDir> m_dir; // the home
    QStringList m_shown;                  // every message the launcher showed, in order
    QList<QThread *> m_shownOn;           // the thread each of them was shown on
    QStringList m_asked;                  // every question a failed close asked
    // The answer to that question; staying, unless the test says otherwise.
    std::function<ErrorReport::CloseChoice()> m_closeAnswer;
};
