// The view's search gives what QTextDocument::find() gives, for every start
// position and option, on a document with the cases that tell them apart.
#include "TextSearch.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using fosdat::TextMatch;
using fosdat::TextSearch;

namespace
{

using Flags = QTextDocument::FindFlags;

// Paragraphs, a non-breaking space, words inside words, a picture and a
// table, whose cells are framed paragraphs.
void fill(QTextDocument &document)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Abcdia abcdia ABCDIA"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Bolivina\u00A0nova Bolivinella bolivina"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("x-ray xray_ray 42ray ray raray"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("xray.ray. z")); // a rejected match right before a word
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Ёлкиния ёлкинияx ЁЛКИНИЯ"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("pict "));
    cursor.insertImage(QStringLiteral("missing.png"));
    cursor.insertText(QStringLiteral(" ray"));
    QTextTable *table = cursor.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("ray"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("Ray ray"));
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("end ray"));
}

// The match QTextDocument::find() gives, {-1, -1} for none.
TextMatch qtFind(const QTextDocument &document, const QString &text, int from, Flags flags)
{
    const QTextCursor found = document.find(text, from, flags);
    return found.isNull() ? TextMatch{-1, -1}
                          : TextMatch{found.selectionStart(), found.selectionEnd()};
}

TextMatch find(TextSearch &search, QTextDocument &document, const QString &text, int from,
               Flags flags = {})
{
    const std::optional<TextMatch> found = search.find(document, fosdat::TextMatcher(text, flags),
                                                       from, flags & QTextDocument::FindBackward);
    return found.value_or(TextMatch{-1, -1});
}

const Flags AllFlags[] = {{},
                          QTextDocument::FindCaseSensitively,
                          QTextDocument::FindWholeWords,
                          QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords,
                          QTextDocument::FindBackward,
                          QTextDocument::FindBackward | QTextDocument::FindCaseSensitively,
                          QTextDocument::FindBackward | QTextDocument::FindWholeWords,
                          QTextDocument::FindBackward | QTextDocument::FindCaseSensitively |
                              QTextDocument::FindWholeWords};

} // namespace

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQTextDocument_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *text :
             {"abcdia", "ABCDIA", "Abcdia abcdia", "bolivina", "Bolivina nova",
              "Bolivina\u00A0nova", "ray", "Ray", "ra", "ray.", "a\u2029B", "y\nx", "\uFFFC",
              " ray", "end ray", "ёлкиния", "ЁЛКИНИЯ", "absent"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void sameAsQTextDocument()
    {
        QFETCH(QString, text);
        QTextDocument document;
        fill(document);
        TextSearch search;
        for (int from = 0; from <= document.characterCount() + 1; ++from) {
            for (const Flags flags : AllFlags) {
                const TextMatch expected = qtFind(document, text, from, flags);
                QVERIFY2(find(search, document, text, from, flags) == expected,
                         qPrintable(QStringLiteral("from %1, flags %2, expected %3")
                                        .arg(from)
                                        .arg(int(flags))
                                        .arg(expected.start)));
            }
        }
        // The matches that start within a range, each searched for from the
        // end of the one before.
        for (const Flags flags : AllFlags) {
            if (flags & QTextDocument::FindBackward)
                continue;
            const fosdat::TextMatcher matcher(text, flags);
            const int end = document.characterCount();
            for (int from = 0; from <= end; from += 2) {
                for (int to : {from, from + 7, end / 2, end}) {
                    QList<TextMatch> expected;
                    for (TextMatch at = qtFind(document, text, from, flags);
                         at.start >= 0 && at.start < to; at = qtFind(document, text, at.end, flags))
                        expected << at;
                    QVERIFY2(search.findAll(document, matcher, from, to) == expected,
                             qPrintable(QStringLiteral("from %1 to %2, flags %3")
                                            .arg(from)
                                            .arg(to)
                                            .arg(int(flags))));
                }
            }
        }
    }

    void followsChangesOfTheDocument()
    {
        QTextDocument document;
        fill(document);
        TextSearch search;
        const int before = find(search, document, QStringLiteral("ray"), 0).start;
        QCOMPARE(before, qtFind(document, QStringLiteral("ray"), 0, {}).start);
        QTextCursor(&document).insertText(QStringLiteral("ray "));
        QCOMPARE(find(search, document, QStringLiteral("ray"), 1).start, before + 4);
        QCOMPARE(find(search, document, QStringLiteral("ray"), 0).start, 0);
    }

    void followsAnotherDocument()
    {
        QTextDocument first(QStringLiteral("alpha"));
        QTextDocument second(QStringLiteral("beta alpha"));
        TextSearch search;
        QCOMPARE(find(search, first, QStringLiteral("alpha"), 0).start, 0);
        QCOMPARE(find(search, second, QStringLiteral("alpha"), 0).start, 5);
    }

    void outlivesItsDocument()
    {
        TextSearch search;
        {
            QTextDocument gone(QStringLiteral("alpha"));
            QCOMPARE(find(search, gone, QStringLiteral("alpha"), 0).start, 0);
        }
        QTextDocument next(QStringLiteral("x alpha"));
        QCOMPARE(find(search, next, QStringLiteral("alpha"), 0).start, 2);
    }

    // The reader breaks over-long words with zero-width spaces; a search
    // finds words across them, at the document's positions.
    void zeroWidthSpacesAreNotSeen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<Flags>("flags");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        const Flags whole = QTextDocument::FindWholeWords;
        QTest::newRow("across a break") << "bolivinella" << 0 << Flags() << 0 << 12;
        QTest::newRow("after a break") << "nella" << 0 << Flags() << 7 << 12;
        QTest::newRow("across two breaks") << "xy" << 0 << Flags() << 13 << 17;
        QTest::newRow("from the break") << "y" << 14 << Flags() << 16 << 17;
        QTest::newRow("from after the break") << "xy" << 14 << Flags() << -1 << -1;
        QTest::newRow("whole word across a break") << "Bolivinella" << 0 << whole << 0 << 12;
        QTest::newRow("a break is inside a word") << "Bolivi" << 0 << whole << -1 << -1;
        QTest::newRow("break in the searched text") << "x\u200By" << 0 << Flags() << 13 << 17;
    }
    void zeroWidthSpacesAreNotSeen()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(Flags, flags);
        QFETCH(int, start);
        QFETCH(int, end);
        QTextDocument document(QStringLiteral("Bolivi\u200Bnella x\u200B\u200By"));
        TextSearch search;
        QCOMPARE(find(search, document, text, from, flags), (TextMatch{start, end}));
    }

    void emptyTextAndNegativeStartFindNothing()
    {
        QTextDocument document(QStringLiteral("alpha"));
        TextSearch search;
        QCOMPARE(find(search, document, QString(), 0).start, -1);
        QCOMPARE(find(search, document, QStringLiteral("alpha"), -1).start, -1);
    }
};

QTEST_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
