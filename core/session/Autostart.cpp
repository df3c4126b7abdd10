// SPDX-License-Identifier: MIT
#include "core/session/Autostart.h"

#include "core/session/ApplicationId.h"
#include "core/files/AtomicFile.h"
#include "core/entries/DesktopEntry.h"
#include "core/files/RegularFile.h"
#include "core/files/SystemReason.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace Autostart {

namespace {

// An autostart entry is a few lines; anything far larger is not one.
constexpr qint64 kMaxEntryBytes = 64 * 1024;

// The string level of a desktop entry value.
QString escapeString(const QString &text)
{
    QString escaped;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString unescapeString(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case u's':
            text += u' ';
            break;
        case u'n':
            text += u'\n';
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        case u'\\':
            text += u'\\';
            break;
        default:
            text += u'\\';
            text += value[i];
        }
    }
    return text;
}

} // namespace

QString entryPath(const QString &configHome)
{
    return configHome + QStringLiteral("/autostart/") + QLatin1String(kApplicationId) + QStringLiteral(".desktop");
}

QString execValue(const QString &program)
{
    return escapeString(execArgument(program));
}

QString execProgram(const QString &value)
{
    // Field codes first, then the shell-like quoting, as GIO reads it.
    const QString unescaped = unescapeString(value);
    QString command;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        if (unescaped[i] != u'%') {
            command += unescaped[i];
        } else if (i + 1 < unescaped.size()) {
            if (unescaped[++i] == u'%')
                command += u'%';
        }
    }
    qsizetype i = 0;
    while (i < command.size() && (command[i] == u' ' || command[i] == u'\t' || command[i] == u'\n'))
        ++i;
    QString word;
    QChar quote;
    for (; i < command.size(); ++i) {
        const QChar c = command[i];
        if (quote == u'\'') {
            if (c == u'\'')
                quote = QChar();
            else
                word += c;
        } else if (quote == u'"') {
            if (c == u'"')
                quote = QChar();
            else if (c == u'\\' && i + 1 < command.size() && QStringView(u"\"`$\\\n").contains(command[i + 1]))
                word += command[++i];
            else
                word += c;
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            break;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'\\' && i + 1 < command.size()) {
            word += command[++i];
        } else {
            word += c;
        }
    }
    // An unclosed quote runs nothing.
    return quote.isNull() ? word : QString();
}

QByteArray entryText(const QString &program)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Quillbrook\n"
                                  "Icon=%1\n"
                                  "Exec=%2\n"
                                  "X-GNOME-Autostart-enabled=true\n")
                       .arg(QLatin1String(kApplicationId), execValue(program));
    return text.toUtf8();
}

bool isEnabled(const QString &configHome, const QString &program)
{
    const RegularFileRead read = readRegularFile(entryPath(configHome), kMaxEntryBytes);
    if (read.status != RegularFileRead::Read)
        return false;
    bool inEntry = false;
    QString exec;
    for (const QByteArray &raw : read.bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!inEntry || eq < 0)
            continue;
        const QByteArray key = line.first(eq).trimmed();
        const QByteArray value = line.sliced(eq + 1).trimmed();
        if (key == "Exec")
            exec = QString::fromUtf8(value);
        else if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    const QString runs = execProgram(exec);
    if (runs.isEmpty())
        return false;
    // Links and "..": the same program however the entry spells it.
    const auto real = [](const QString &path) {
        const QFileInfo info(path);
        return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    };
    return real(runs) == real(program);
}

bool enable(const QString &configHome, const QString &program, QString *error)
{
    const QString path = entryPath(configHome);
    QString reason;
    if (!QDir().mkpath(QFileInfo(path).path())) {
        reason = QCoreApplication::translate("Autostart", "フォルダを作成できません。");
    } else if (writeFileAtomically(path, entryText(program), &reason)) {
        return true;
    }
    // The save leaves the file as it was: there, it could not be written;
    // missing, it could not be made.
    if (error && QFileInfo::exists(path)) {
        //: %1 is a file's path, %2 the reason.
        *error = QCoreApplication::translate("Autostart", "%1 に書き込めません。%2").arg(path, reason);
    } else if (error) {
        //: %1 is a file's path, %2 the reason.
        *error = QCoreApplication::translate("Autostart", "%1 を作成できません。%2").arg(path, reason);
    }
    return false;
}

bool disable(const QString &configHome, QString *error)
{
    const QString path = entryPath(configHome);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    // unlink() directly: QFile keeps no errno to put into the user's words.
    if (::unlink(QFile::encodeName(path).constData()) == 0)
        return true;
    if (error) {
        //: %1 is a file's path, %2 the reason.
        *error = QCoreApplication::translate("Autostart", "%1 を削除できません。%2").arg(path, systemReason(errno));
    }
    return false;
}

} // namespace Autostart
