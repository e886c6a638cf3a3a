// The catalogue view's text search, on documents filled directly.
#include "RichTextBox.h"

#include <QTest>
#include <QTextCursor>

class TestViewSearch : public QObject
{
    Q_OBJECT

    enum { WholeWord = RichTextBox::rtfWholeWord, MatchCase = RichTextBox::rtfMatchCase };

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("expected");

        const QString latin = QStringLiteral("Abcdia K (Camp)\nAbcdiella J (Oxf)\n"
                                             "Bolivina abcdia-like\nZeta ABCDIA");
        QTest::newRow("match at the first character") << latin << "Abcdia" << 0 << 0 << 0;
        QTest::newRow("start skips earlier matches") << latin << "Abcdia" << 1 << 0 << 43;
        QTest::newRow("case ignored") << latin << "abcdia" << 0 << 0 << 0;
        QTest::newRow("match case") << latin << "abcdia" << 0 << int(MatchCase) << 43;
        QTest::newRow("match case, capitals") << latin << "ABCDIA" << 0 << int(MatchCase) << 60;
        QTest::newRow("substring of a longer name") << latin << "Abcdiel" << 0 << 0 << 16;
        QTest::newRow("whole word refuses a prefix")
            << latin << "Abcdiel" << 0 << int(WholeWord) << -1;
        QTest::newRow("whole word") << latin << "Abcdiella" << 0 << int(WholeWord) << 16;
        QTest::newRow("hyphen ends a word") << latin << "abcdia" << 1 << int(WholeWord) << 43;
        QTest::newRow("both options") << latin << "ABCDIA" << 0 << int(WholeWord | MatchCase) << 60;
        QTest::newRow("both options, no match")
            << latin << "Abcdiel" << 0 << int(WholeWord | MatchCase) << -1;
        QTest::newRow("not there") << latin << "Zygodia" << 0 << 0 << -1;
        QTest::newRow("empty text") << latin << "" << 0 << 0 << -1;
        QTest::newRow("negative start") << latin << "Abcdia" << -5 << 0 << 0;
        QTest::newRow("start past the end") << latin << "Abcdia" << 1000 << 0 << -1;
        QTest::newRow("no match across paragraphs") << latin << "(Camp) Abcdiella" << 0 << 0 << -1;

        const QString cyrillic = QStringLiteral("Ёлкиния Д (Кемб)\nАбвгдеяна Р\nабвгдея Т");
        QTest::newRow("Cyrillic, case ignored") << cyrillic << "ёлкиния" << 0 << 0 << 0;
        QTest::newRow("Cyrillic, capitals typed") << cyrillic << "АБВГДЕЯ" << 0 << 0 << 17;
        QTest::newRow("Cyrillic, match case") << cyrillic << "абвгдея" << 0 << int(MatchCase) << 29;
        QTest::newRow("Cyrillic, match case, none")
            << cyrillic << "ёлкиния" << 0 << int(MatchCase) << -1;
        QTest::newRow("Cyrillic, whole word") << cyrillic << "Абвгдея" << 0 << int(WholeWord) << 29;
        QTest::newRow("Cyrillic beside Latin")
            << QStringLiteral("Abcdiaбвг Abcdia") << "Abcdia" << 0 << int(WholeWord) << 10;
    }
    void find()
    {
        QFETCH(QString, document);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, options);
        QFETCH(int, expected);

        RichTextBox view;
        view.setPlainText(document);
        QCOMPARE(view.Find(text, start, options), expected);
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

    void noHighlightLeavesSelection()
    {
        RichTextBox view;
        view.setPlainText(QStringLiteral("Abcdia Bolivina"));
        QCOMPARE(view.Find(QStringLiteral("Bolivina"), 0, RichTextBox::rtfNoHighlight), 7);
        QVERIFY(!view.textCursor().hasSelection());
    }

    void repeatedSearchSelectsSameMatch()
    {
        RichTextBox view;
        view.setPlainText(QStringLiteral("x Abcdia\nAbcdia\nAbcdia"));
        for (int press = 0; press < 3; ++press) {
            QCOMPARE(view.Find(QStringLiteral("abcdia"), 0, 0), 2);
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
        RichTextBox view;
        view.setHtml(html);
        QCOMPARE(view.Find(text, 0, 0), expected);
        QCOMPARE(view.textCursor().selectedText().toLower(), text.toLower());
        QCOMPARE(view.toPlainText().indexOf(text, 0, Qt::CaseInsensitive), expected);
    }

    void lineBreakCountsOneCharacter()
    {
        RichTextBox view;
        view.setPlainText(QStringLiteral("ab"));
        QTextCursor cursor(view.document());
        cursor.setPosition(1);
        cursor.insertText(QString(QChar::LineSeparator));
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\nTarget"));
        QCOMPARE(view.Find(QStringLiteral("Target"), 0, 0), 4);
        QCOMPARE(view.toPlainText().indexOf(QStringLiteral("Target")), 4);
    }
};

QTEST_MAIN(TestViewSearch)
#include "tst_viewsearch.moc"
