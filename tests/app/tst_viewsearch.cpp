// The catalogue view's selection of a match, on catalogues read from RTF bodies.
#include "CatalogueView.h"
#include "support/RtfText.h"

#include <QTest>
#include <QTextCursor>

namespace
{

// Shows a catalogue of RTF body `body` in `view`, as a load does.
void show(CatalogueView &view, const QByteArray &body)
{
    view.showCatalogue(std::make_shared<const fosdat::rtf::ContentRecord>(
        *fosdat::rtf::readRecord("{\\rtf1 " + body + "}")));
}

} // namespace

class TestViewSearch : public QObject
{
    Q_OBJECT

    static constexpr int WholeWord = QTextDocument::FindWholeWords;
    static constexpr int MatchCase = QTextDocument::FindCaseSensitively;

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("expected");

        const QString latin = QStringLiteral("Abcdia K (Camp)\nAbcdiella J (Oxf)\n"
                                             "Bolivina abcdia-like\nZeta ABCDIA");
        QTest::newRow("match at the first character") << latin << "Abcdia" << 0 << 0;
        QTest::newRow("case ignored") << latin << "abcdia" << 0 << 0;
        QTest::newRow("match case") << latin << "abcdia" << int(MatchCase) << 43;
        QTest::newRow("match case, capitals") << latin << "ABCDIA" << int(MatchCase) << 60;
        QTest::newRow("substring of a longer name") << latin << "Abcdiel" << 0 << 16;
        QTest::newRow("whole word refuses a prefix") << latin << "Abcdiel" << int(WholeWord) << -1;
        QTest::newRow("whole word") << latin << "Abcdiella" << int(WholeWord) << 16;
        QTest::newRow("hyphen ends a word")
            << latin << "abcdia" << int(WholeWord | MatchCase) << 43;
        QTest::newRow("both options") << latin << "ABCDIA" << int(WholeWord | MatchCase) << 60;
        QTest::newRow("both options, no match")
            << latin << "Abcdiel" << int(WholeWord | MatchCase) << -1;
        QTest::newRow("not there") << latin << "Zygodia" << 0 << -1;
        QTest::newRow("empty text") << latin << "" << 0 << -1;
        QTest::newRow("no match across paragraphs") << latin << "(Camp) Abcdiella" << 0 << -1;

        const QString cyrillic = QStringLiteral("Ёлкиния Д (Кемб)\nАбвгдеяна Р\nабвгдея Т");
        QTest::newRow("Cyrillic, case ignored") << cyrillic << "ёлкиния" << 0 << 0;
        QTest::newRow("Cyrillic, capitals typed") << cyrillic << "АБВГДЕЯ" << 0 << 17;
        QTest::newRow("Cyrillic, match case") << cyrillic << "абвгдея" << int(MatchCase) << 29;
        QTest::newRow("Cyrillic, match case, none")
            << cyrillic << "ёлкиния" << int(MatchCase) << -1;
        QTest::newRow("Cyrillic, whole word") << cyrillic << "Абвгдея" << int(WholeWord) << 29;
        QTest::newRow("Cyrillic beside Latin")
            << QStringLiteral("Abcdiaбвг Abcdia") << "Abcdia" << int(WholeWord) << 10;
    }
    void find()
    {
        QFETCH(QString, document);
        QFETCH(QString, text);
        QFETCH(int, options);
        QFETCH(int, expected);

        CatalogueView view;
        show(view, rtfBody(document));
        QCOMPARE(view.selectFirstMatch(text, QTextDocument::FindFlags(options)), expected >= 0);
        if (expected < 0) {
            QVERIFY(!view.textCursor().hasSelection());
            return;
        }
        // The position is an index into the plain text, and the match is selected.
        const QTextCursor selection = view.textCursor();
        QCOMPARE(selection.selectionStart(), expected);
        QCOMPARE(selection.selectedText(), document.mid(expected, text.size()));
        QCOMPARE(view.toPlainText().mid(expected, text.size()), selection.selectedText());
    }

    void repeatedSearchSelectsSameMatch()
    {
        CatalogueView view;
        show(view, "x Abcdia\\par Abcdia\\par Abcdia");
        for (int press = 0; press < 3; ++press) {
            QVERIFY(view.selectFirstMatch(QStringLiteral("abcdia"), {}));
            QCOMPARE(view.textCursor().selectionStart(), 2);
        }
    }

    void matchSpansFormatChanges_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("bold head") << QByteArray("{\\b Abc}dia K") << "Abcdia" << 0;
        QTest::newRow("three runs") << QByteArray("x A{\\i bc}{\\b di}a K") << "abcdia" << 2;
        QTest::newRow("second paragraph")
            << QByteArray("K\\par J {\\ul Bol}ivina") << "Bolivina" << 4;
        QTest::newRow("Cyrillic runs") << "{\\b " + rtfBody(QStringLiteral("Абв")) + "}{\\i " +
                                              rtfBody(QStringLiteral("гдея")) + "}"
                                       << "абвгдея" << 0;
    }
    void matchSpansFormatChanges()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(int, expected);
        CatalogueView view;
        show(view, rtf);
        QVERIFY(view.selectFirstMatch(text, {}));
        QCOMPARE(view.textCursor().selectionStart(), expected);
        QCOMPARE(view.textCursor().selectedText().toLower(), text.toLower());
        QCOMPARE(view.toPlainText().indexOf(text, 0, Qt::CaseInsensitive), expected);
    }

    void lineBreakCountsOneCharacter()
    {
        CatalogueView view;
        show(view, "a\\line b\\par Target");
        QVERIFY(view.selectFirstMatch(QStringLiteral("Target"), {}));
        QCOMPARE(view.textCursor().selectionStart(), 4);
        QCOMPARE(view.toPlainText().indexOf(QStringLiteral("Target")), 4);
    }
};

QTEST_MAIN(TestViewSearch)
#include "tst_viewsearch.moc"
