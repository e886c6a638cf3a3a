// The catalogue view's selection of a match, on documents filled directly.
#include "CatalogueView.h"

#include <QTest>
#include <QTextCursor>

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
        view.setPlainText(document);
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
        view.setPlainText(QStringLiteral("x Abcdia\nAbcdia\nAbcdia"));
        for (int press = 0; press < 3; ++press) {
            QVERIFY(view.selectFirstMatch(QStringLiteral("abcdia"), {}));
            QCOMPARE(view.textCursor().selectionStart(), 2);
        }
    }

    void matchSpansFormatChanges_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("bold head") << "<p><b>Abc</b>dia K</p>"
                                   << "Abcdia" << 0;
        QTest::newRow("three runs") << "<p>x A<i>bc</i><b>di</b>a K</p>"
                                    << "abcdia" << 2;
        QTest::newRow("second paragraph") << "<p>K</p><p>J <u>Bol</u>ivina</p>"
                                          << "Bolivina" << 4;
        QTest::newRow("Cyrillic runs") << "<p><b>Абв</b><i>гдея</i></p>"
                                       << "абвгдея" << 0;
    }
    void matchSpansFormatChanges()
    {
        QFETCH(QString, html);
        QFETCH(QString, text);
        QFETCH(int, expected);
        CatalogueView view;
        view.setHtml(html);
        QVERIFY(view.selectFirstMatch(text, {}));
        QCOMPARE(view.textCursor().selectionStart(), expected);
        QCOMPARE(view.textCursor().selectedText().toLower(), text.toLower());
        QCOMPARE(view.toPlainText().indexOf(text, 0, Qt::CaseInsensitive), expected);
    }

    void lineBreakCountsOneCharacter()
    {
        CatalogueView view;
        view.setPlainText(QStringLiteral("ab"));
        QTextCursor cursor(view.document());
        cursor.setPosition(1);
        cursor.insertText(QString(QChar::LineSeparator));
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\nTarget"));
        QVERIFY(view.selectFirstMatch(QStringLiteral("Target"), {}));
        QCOMPARE(view.textCursor().selectionStart(), 4);
        QCOMPARE(view.toPlainText().indexOf(QStringLiteral("Target")), 4);
    }
};

QTEST_MAIN(TestViewSearch)
#include "tst_viewsearch.moc"
