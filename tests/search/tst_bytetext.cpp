// Text held as bytes: a search in the bytes finds what the same search finds
// in the characters, for every start, option and kind of character.
#include "ByteText.h"
#include "TextMatcher.h"

#include <QTest>

using fosdat::ByteText;
using fosdat::TextMatcher;

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
        QTest::newRow("a sign that folds to a letter without a byte")
            << "5 µm and µ\nMU mu" << QStringList{"µ", "μ", "Μ", "µm", "mu"};
        QTest::newRow("tabs and line breaks inside a paragraph")
            << "Genus\tK (Camp)\tJ\nline\u2028break" << QStringList{"\tk", "e\u2028b", "camp)\tj"};
    }
    void sameAsInCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, searches);
        const std::optional<ByteText> bytes = ByteText::fromText(text);
        QVERIFY(bytes);
        QCOMPARE(bytes->toString(), text);
        QCOMPARE(bytes->mid(2, 5), text.mid(2, 5));
        for (const QString &search : std::as_const(searches)) {
            for (const int flags :
                 {0, int(QTextDocument::FindCaseSensitively), int(QTextDocument::FindWholeWords),
                  int(QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords)}) {
                const TextMatcher matcher(search, QTextDocument::FindFlags(flags));
                for (qsizetype from = 0; from <= text.size() + 1; ++from) {
                    QVERIFY2(matcher.indexIn(*bytes, from) == matcher.indexIn(text, from),
                             qPrintable(QStringLiteral("'%1', flags %2, from %3")
                                            .arg(search)
                                            .arg(flags)
                                            .arg(from)));
                }
            }
        }
    }

    void charactersWithoutAByte()
    {
        QVERIFY(!ByteText::fromText(QStringLiteral("Ab\u03bc")));
        QVERIFY(!ByteText::fromText(QStringLiteral("x\u2029y")));
        QVERIFY(ByteText::fromText(QString())->toString().isEmpty());
        // Every byte stands for one character and back; the folded copy
        // never uses the capital 'A' for a character.
        for (int byte = 0; byte < 256; ++byte) {
            const QChar c = ByteText::characterOf(char(byte));
            if (c == QChar::ReplacementCharacter)
                continue;
            QCOMPARE(ByteText::byteOf(c), std::optional(char(byte)));
            QVERIFY(ByteText::foldedByteOf(c) != std::optional('A'));
        }
    }
};

QTEST_MAIN(TestByteText)
#include "tst_bytetext.moc"
