// SPDX-License-Identifier: MIT
#include "core/entries/DesktopEntry.h"

#include <QList>

#include <algorithm>

QString desktopEntryIcon(const QByteArray &content)
{
    return desktopEntryValue(content, "Icon");
}

QString desktopEntryValue(const QByteArray &content, QByteArrayView key)
{
    bool inMainGroup = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QByteArrayView line = QByteArrayView(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.first(eq).trimmed() != key)
            continue;
        return QString::fromUtf8(line.sliced(eq + 1).trimmed());
    }
    return {};
}

QString execArgument(const QString &word)
{
    const auto reserved = [](QChar c) { return QStringView(u" \t\n\"'\\><~|&;$*?#()`").contains(c); };
    const bool quote = word.isEmpty() || std::any_of(word.begin(), word.end(), reserved);
    QString argument;
    if (quote)
        argument += u'"';
    for (const QChar c : word) {
        if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            argument += u'\\';
        argument += c;
        // A lone % would start a field code.
        if (c == u'%')
            argument += u'%';
    }
    if (quote)
        argument += u'"';
    return argument;
}

QString execWithWords(const QString &exec, const QList<ExecWord> &words)
{
    const auto argumentsFor = [&words](QChar code) {
        const bool uris = code == u'u' || code == u'U';
        QStringList arguments;
        for (const ExecWord &word : words)
            arguments.append(execArgument(uris ? word.asUri : word.asPath));
        return arguments.join(u' ');
    };
    QString result;
    bool placed = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c != u'%' || i + 1 >= exec.size()) {
            result.append(c);
            continue;
        }
        const QChar code = exec[++i];
        if (code == u'f' || code == u'F' || code == u'u' || code == u'U') {
            if (!placed)
                result.append(argumentsFor(code));
            placed = true;
            continue;
        }
        // Every other code (%i %c %k %%) is GIO's to expand.
        result.append(c);
        result.append(code);
    }
    if (!placed && !words.isEmpty())
        result.append(u' ').append(argumentsFor(u'F'));
    return result;
}
