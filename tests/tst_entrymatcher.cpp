// SPDX-License-Identifier: MIT
// Matching the filter's words against an entry's texts, and the texts a
// desktop entry is found by.
#include "core/entries/DesktopEntry.h"
#include "core/filter/EntryMatcher.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MatchRank)

class TestEntryMatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folding_data();
    void folding();
    void rank_data();
    void rank();
    void desktopNames_data();
    void desktopNames();
    void localeKeys_data();
    void localeKeys();
};

void TestEntryMatcher::folding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("case") << u"LibreOffice"_s << u"libreoffice"_s;
    QTest::newRow("full-width latin") << u"ＦｉｒｅＦｏｘ"_s << u"firefox"_s;
    QTest::newRow("full-width digits") << u"ＧＩＭＰ２"_s << u"gimp2"_s;
    QTest::newRow("katakana to hiragana") << u"メモチョウ"_s << u"めもちょう"_s;
    QTest::newRow("half-width katakana") << u"ﾒﾓ"_s << u"めも"_s;
    QTest::newRow("half-width voiced mark joins") << u"ｶﾞｲﾄﾞ"_s << u"がいど"_s;
    QTest::newRow("ideographic space") << u"あ　い"_s << u"あ い"_s;
    QTest::newRow("kanji unchanged") << u"電卓"_s << u"電卓"_s;
}

void TestEntryMatcher::folding()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(foldForSearch(text), folded);
}

void TestEntryMatcher::rank_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<MatchRank>("rank");
    const auto rows = {
        std::tuple{"start of text", QStringList{u"firefox"_s}, u"fire"_s, MatchRank::WordStart},
        std::tuple{"after a space", QStringList{u"LibreOffice Writer"_s}, u"wri"_s, MatchRank::WordStart},
        std::tuple{"after a dash", QStringList{u"my-notes.txt"_s}, u"notes"_s, MatchRank::WordStart},
        std::tuple{"capital inside a name", QStringList{u"LibreOffice"_s}, u"off"_s, MatchRank::WordStart},
        std::tuple{"inside a word", QStringList{u"firefox"_s}, u"fox"_s, MatchRank::InsideWord},
        std::tuple{"later occurrence at a start", QStringList{u"rerun run"_s}, u"run"_s, MatchRank::WordStart},
        std::tuple{"letters with gaps", QStringList{u"firefox"_s}, u"ffx"_s, MatchRank::InOrder},
        std::tuple{"letters out of order", QStringList{u"firefox"_s}, u"xf"_s, MatchRank::None},
        std::tuple{"case ignored", QStringList{u"GIMP"_s}, u"gi"_s, MatchRank::WordStart},
        std::tuple{"full-width typed", QStringList{u"gimp"_s}, u"ＧＩ"_s, MatchRank::WordStart},
        std::tuple{"hiragana typed for katakana", QStringList{u"テキストエディタ"_s}, u"てき"_s, MatchRank::WordStart},
        std::tuple{"katakana inside", QStringList{u"テキストエディタ"_s}, u"えでぃた"_s, MatchRank::InsideWord},
        std::tuple{"half-width katakana name", QStringList{u"ﾒﾓ帳"_s}, u"メモ"_s, MatchRank::WordStart},
        std::tuple{"kanji after kana starts a word", QStringList{u"かな漢字"_s}, u"漢字"_s, MatchRank::WordStart},
        std::tuple{"every word must match", QStringList{u"LibreOffice Writer"_s}, u"lib xyz"_s, MatchRank::None},
        std::tuple{"worst word decides", QStringList{u"LibreOffice Writer"_s}, u"lib iter"_s, MatchRank::InsideWord},
        std::tuple{"each word its best text", QStringList{u"firefox"_s, u"Web Browser"_s}, u"fox web"_s,
                   MatchRank::InsideWord},
        std::tuple{"best text wins", QStringList{u"xweb"_s, u"Web Browser"_s}, u"web"_s, MatchRank::WordStart},
        std::tuple{"empty filter", QStringList{u"firefox"_s}, u"  "_s, MatchRank::None},
        std::tuple{"no texts", QStringList{}, u"a"_s, MatchRank::None},
    };
    for (const auto &[name, texts, filter, rank] : rows)
        QTest::newRow(name) << texts << filter << rank;
}

void TestEntryMatcher::rank()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, filter);
    QFETCH(MatchRank, rank);
    QList<SearchText> prepared;
    for (const QString &text : texts)
        prepared.append(prepareSearchText(text));
    QCOMPARE(matchEntry(prepared, filterWords(filter)), rank);
}

void TestEntryMatcher::desktopNames_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("locales");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("genericName");
    QTest::addColumn<QStringList>("keywords");
    const QByteArray editor = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Text Editor\n"
                              "Name[ja]=テキストエディター\n"
                              "Name[ja_JP]=テキストエディタ\n"
                              "GenericName=Editor\n"
                              "Keywords=text;plain;notes\\;memo;\n"
                              "Keywords[ja]=メモ;文書;\n"
                              "[Desktop Action new]\n"
                              "Name=New Window\n";
    QTest::newRow("untranslated") << editor << QStringList{} << u"Text Editor"_s << u"Editor"_s
                                  << QStringList{u"text"_s, u"plain"_s, u"notes;memo"_s};
    QTest::newRow("country before language") << editor << QStringList{u"ja_JP"_s, u"ja"_s} << u"テキストエディタ"_s
                                             << u"Editor"_s << QStringList{u"メモ"_s, u"文書"_s};
    QTest::newRow("language alone") << editor << QStringList{u"ja"_s} << u"テキストエディター"_s << u"Editor"_s
                                    << QStringList{u"メモ"_s, u"文書"_s};
    QTest::newRow("other language falls back") << editor << QStringList{u"de"_s} << u"Text Editor"_s << u"Editor"_s
                                               << QStringList{u"text"_s, u"plain"_s, u"notes;memo"_s};
    QTest::newRow("escapes") << QByteArray("[Desktop Entry]\nName=A\\sB\\\\C\n") << QStringList{} << u"A B\\C"_s
                             << QString() << QStringList{};
    QTest::newRow("other groups and broken lines")
        << QByteArray("Name=Outside\n[Other]\nName=No\n[Desktop Entry]\nName[ja=Broken\nGenericName\nName=Yes\n")
        << QStringList{u"ja"_s} << u"Yes"_s << QString() << QStringList{};
    QTest::newRow("not a desktop entry") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << QStringList{} << QString()
                                         << QString() << QStringList{};
}

void TestEntryMatcher::desktopNames()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, locales);
    const DesktopEntryNames names = desktopEntryNames(content, locales);
    QTEST(names.name, "name");
    QTEST(names.genericName, "genericName");
    QTEST(names.keywords, "keywords");
}

void TestEntryMatcher::localeKeys_data()
{
    QTest::addColumn<QStringList>("posix");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("language and country") << QStringList{u"ja_JP.UTF-8"_s} << QStringList{u"ja_JP"_s, u"ja"_s};
    QTest::newRow("modifier") << QStringList{u"sr_RS@latin"_s}
                              << QStringList{u"sr_RS@latin"_s, u"sr_RS"_s, u"sr@latin"_s, u"sr"_s};
    QTest::newRow("a list, without repeats")
        << QStringList{u"en_GB"_s, u"en"_s, u"ja_JP.UTF-8"_s} << QStringList{u"en_GB"_s, u"en"_s, u"ja_JP"_s, u"ja"_s};
    QTest::newRow("C and POSIX") << QStringList{u"C"_s, u"C.UTF-8"_s, u"POSIX"_s, u""_s} << QStringList{};
}

void TestEntryMatcher::localeKeys()
{
    QFETCH(QStringList, posix);
    QTEST(desktopLocaleKeys(posix), "keys");
}

QTEST_GUILESS_MAIN(TestEntryMatcher)
#include "tst_entrymatcher.moc"
