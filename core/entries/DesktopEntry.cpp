// SPDX-License-Identifier: MIT
#include "core/entries/DesktopEntry.h"

#include <QList>

#include <algorithm>

QString desktopEntryIcon(const QByteArray &content)
{
    return desktopEntryValue(content, "Icon");
}

namespace {

// Calls `visit(key, value)`, both trimmed, for each key of the
// [Desktop Entry] group in file order, until it returns false.
template<typename Visit>
void forEachMainGroupKey(const QByteArray &content, Visit visit)
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
        const qsizetype eq = line.indexOf('=');
        if (!inMainGroup || eq < 0)
            continue;
        if (!visit(line.first(eq).trimmed(), line.sliced(eq + 1).trimmed()))
            return;
    }
}

} // namespace

QString desktopEntryValue(const QByteArray &content, QByteArrayView key)
{
    QString value;
    forEachMainGroupKey(content, [&](QByteArrayView name, QByteArrayView text) {
        if (name != key)
            return true;
        value = QString::fromUtf8(text);
        return false;
    });
    return value;
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

namespace {

// Undoes the key-file escapes; inside a list, "\;" stays a separator's
// escape for the caller to split on.
QString unescapeValue(QStringView value, bool list)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 >= value.size()) {
            out.append(c);
            continue;
        }
        const QChar e = value[++i];
        switch (e.unicode()) {
        case u's':
            out.append(u' ');
            break;
        case u'n':
            out.append(u'\n');
            break;
        case u't':
            out.append(u'\t');
            break;
        case u'r':
            out.append(u'\r');
            break;
        case u';':
            out.append(list ? QStringLiteral("\\;") : QStringLiteral(";"));
            break;
        default:
            out.append(e);
            break;
        }
    }
    return out;
}

QStringList splitList(const QString &value)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size() && value[i + 1] == u';') {
            item.append(u';');
            ++i;
        } else if (value[i] == u';') {
            items.append(item);
            item.clear();
        } else {
            item.append(value[i]);
        }
    }
    items.append(item);
    items.removeAll(QString());
    return items;
}

} // namespace

DesktopEntryNames desktopEntryNames(const QByteArray &content, const QStringList &localeKeys)
{
    // For each key, the value found and how good its locale is: 0 for the
    // first of localeKeys, localeKeys.size() for the untranslated value.
    struct Found {
        QString value;
        qsizetype quality = -1;
    };
    static constexpr const char *kKeys[] = {"Name", "GenericName", "Keywords"};
    Found found[3];
    forEachMainGroupKey(content, [&](QByteArrayView key, QByteArrayView text) {
        const qsizetype bracket = key.indexOf('[');
        const QByteArrayView base = bracket < 0 ? key : key.first(bracket);
        for (int k = 0; k < 3; ++k) {
            if (base != kKeys[k])
                continue;
            qsizetype quality = localeKeys.size();
            if (bracket >= 0) {
                if (!key.endsWith(']'))
                    break;
                const QString locale = QString::fromUtf8(key.sliced(bracket + 1, key.size() - bracket - 2));
                quality = localeKeys.indexOf(locale);
                if (quality < 0)
                    break;
            }
            if (found[k].quality < 0 || quality < found[k].quality)
                found[k] = {QString::fromUtf8(text), quality};
            break;
        }
        return true;
    });
    return {unescapeValue(found[0].value, false), unescapeValue(found[1].value, false),
            splitList(unescapeValue(found[2].value, true))};
}

QStringList desktopLocaleKeys(const QStringList &posixLocales)
{
    QStringList keys;
    const auto add = [&keys](const QString &key) {
        if (!key.isEmpty() && !keys.contains(key))
            keys.append(key);
    };
    for (const QString &name : posixLocales) {
        QString rest = name.trimmed();
        QString modifier;
        if (const qsizetype at = rest.indexOf(u'@'); at >= 0) {
            modifier = rest.sliced(at + 1);
            rest.truncate(at);
        }
        if (const qsizetype dot = rest.indexOf(u'.'); dot >= 0)
            rest.truncate(dot);
        if (rest.isEmpty() || rest == u"C" || rest == u"POSIX")
            continue;
        const qsizetype underscore = rest.indexOf(u'_');
        const QString lang = underscore < 0 ? rest : rest.first(underscore);
        const QString suffix = modifier.isEmpty() ? QString() : u'@' + modifier;
        if (underscore >= 0 && !modifier.isEmpty())
            add(rest + suffix);
        if (underscore >= 0)
            add(rest);
        if (!modifier.isEmpty())
            add(lang + suffix);
        add(lang);
    }
    return keys;
}
