// Text held as bytes: a search in the bytes finds what the same search finds
// in the characters, for every start, option and kind of character, and its
// paragraph ends are the text's.
#include "ByteText.h"
#include "TextMatcher.h"

#include <QTest>

using fosdat::ByteText;
using fosdat::TextMatcher;

namespace
{

// More distinct characters than a byte can name: CJK ideographs, each once,
// around words that are searched for.
QString manyCharacters()
{
    QString text = QStringLiteral("Müller Ωmega\n");
    for (char16_t c = 0x4E00; c < 0x4E00 + 400; ++c)
        text += QChar(c);
    return text + QStringLiteral(" MÜLLER \u4E10\u4E11x\n\u4F00 müller");
}

// Words that begin and end as "idae" does, and "idae" itself, at every
// distance from the text's start and from each other, so that some fall
// across any stretch the bytes are scanned by; the last ends the text.
QString placesEverywhere()
{
    QString text;
    for (int gap = 0; gap < 40; ++gap)
        text += QString(gap, u'x') +
                (gap % 3 ? QStringLiteral("iXae idXe idae") : QStringLiteral("IDAE\nidaa"));
    return text + QStringLiteral("idae");
}

} // namespace

class TestByteText : public QObject
{
    Q_OBJECT

private slots:
    void sameAsInCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("searches");
        QTest::newRow("Latin, case and words")
            << "Abcdia abcdia ABCDIA\nxabcdiax abcdia-like 42abcdia abcdia2"
            << QStringList{"abcdia", "ABCDIA", "Abcdia abcdia", "a", "ia\nx", "absent", "ß"};
        QTest::newRow("Cyrillic, Ё and punctuation of the code page")
            << "Ёлкиния ёлкиния ЁЛКИНИЯ\n«Абв» — где–№ 5\nёлкинияx"
            << QStringList{"ёлкиния", "ЁЛКИНИЯ", "«абв»", "— где", "№", "Ё", "ё"};
        QTest::newRow("rejected words right before words")
            << "xray.ray. z\nxa.a. a.\nray ray raray"
            << QStringList{"ray", "ray.", "a.", "ra", "y r"};
        QTest::newRow("authors with diacritics beside Cyrillic, signs")
            << "Čechovia Müller, 1975 K (Camp) × Łukasz\nčechovia MÜLLER ≈ 3 Élan élan Ørsted\n"
               "Бёрнс Müllerella ×2 ≈ \u00D7"
            << QStringList{"müller", "MÜLLER", "čechovia", "łukasz",  "élan",
                           "ø",      "×",      "≈ 3",      "Müller,", "бёрнс"};
        QTest::newRow("folds that leave their range: µ, K, ſ, Ω, ẞ; İ folds to nothing else")
            << "5 µm and µ\nMU mu μ Μ\n\u212A k K \u017F s S\n\u2126 ω Ω\nẞ ß ss\nİ i I ı"
            << QStringList{"µ", "μ",      "Μ", "µm", "mu", "k", "\u212A", "s", "\u017F",
                           "ω", "\u2126", "ß", "ẞ",  "ss", "i", "İ",      "ı"};
        QTest::newRow("a character of two units, folded as one")
            << QString::fromUcs4(U"ab \U00010400x \U00010428y \U0001F600 z\U00010400")
            << QStringList{QString::fromUcs4(U"\U00010400"), QString::fromUcs4(U"\U00010428x"),
                           QString::fromUcs4(U"\U0001F600 z"), QStringLiteral("x")};
        QTest::newRow("tabs and line breaks inside a paragraph")
            << "Genus\tK (Camp)\tJ\nline\u2028break" << QStringList{"\tk", "e\u2028b", "camp)\tj"};
        QTest::newRow("more characters than a byte names")
            << manyCharacters()
            << QStringList{"müller", "MÜLLER",       "\u4E10\u4E11", "\u4E10\u4E11x", "\u4F00 m",
                           "\u4E05", "\u4E05\u4E06", "\u9FA5",       "ωmega"};
        QTest::newRow("matches at every place of what the bytes are scanned by")
            << placesEverywhere()
            << QStringList{"idae", "id", "ie", "xi", "x", "xxxxxxxxxxxxxxxxxxxxidae", "idae idae"};
        QTest::newRow("empty") << "" << QStringList{"a"};
    }
    void sameAsInCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, searches);
        const ByteText bytes(text);
        QCOMPARE(bytes.size(), text.size());
        for (qsizetype at = 0; at <= text.size(); ++at) {
            QCOMPARE(bytes.paragraphEnds(0, at), text.first(at).count(u'\n'));
            QCOMPARE(bytes.paragraphEndBefore(at), at > 0 ? text.lastIndexOf(u'\n', at - 1) : -1);
            const qsizetype next = text.indexOf(u'\n', at);
            QCOMPARE(bytes.paragraphEndFrom(at), next < 0 ? text.size() : next);
        }
        for (const QString &search : std::as_const(searches)) {
            for (const int flags :
                 {0, int(QTextDocument::FindCaseSensitively), int(QTextDocument::FindWholeWords),
                  int(QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords)}) {
                const TextMatcher matcher(search, QTextDocument::FindFlags(flags));
                const ByteText::Finder finder(bytes, matcher);
                for (qsizetype from = -1; from <= text.size() + 1; ++from) {
                    QVERIFY2(finder.indexIn(from) == matcher.indexIn(text, from),
                             qPrintable(QStringLiteral("'%1', flags %2, from %3")
                                            .arg(search)
                                            .arg(flags)
                                            .arg(from)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestByteText)
#include "tst_bytetext.moc"
