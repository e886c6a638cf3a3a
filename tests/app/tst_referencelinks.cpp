// Reference numbers in the catalogue view as links: the pointer, the
// tooltip and a click that shows the reference in the panel, driven by real
// mouse events on the view's viewport in the catalogue window.
#define QTEST_QPA_MOUSE_HANDLING

#include "RtfWriter.h"
#include "support/WindowSession.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

namespace
{

// One word of 3,000 letters, entry 3.
const QByteArray LongWord(3000, 'W');

// Reference lists of 400 numbered entries each, one line apiece but entry
// 402, which takes two, and entry 3, one long word; 999 is missing.
QByteArray referenceList(int first, int last)
{
    QByteArray list;
    for (int number = first; number <= last; ++number) {
        if (number == 999)
            continue;
        list += QByteArray::number(number) + ". ";
        list += number == 3 ? LongWord : "Author " + QByteArray::number(number) + ". Work.";
        list += number == 402 ? "\r\n   Continued title.\r\n" : "\r\n";
    }
    return list;
}

const QByteArray Foram = "{\\b Abcdia}\\tab K (Camp)\\tab (2, 3, 402, 1020)\\par\n"
                         "Bcdia (1975)\\tab J (Oxf)\\tab (999)";

struct Session : WindowSession {
    Session()
        : WindowSession({{"dat/BD/REFS1.txt", referenceList(1, 400)},
                         {"dat/BD/REFS2.txt", referenceList(401, 800)},
                         {"dat/BD/REFS3.txt", referenceList(801, 1200)},
                         {"dat/BD/FORAM", DataTree::catalogue(Foram)}})
    {
    }

    QWidget *viewport() const { return view()->viewport(); }

    // The middle of where `text` is drawn in the view, in viewport coordinates.
    QPoint pointOf(const QString &text) const
    {
        const QTextCursor found = view()->document()->find(text);
        QTextCursor start = found;
        start.setPosition(found.selectionStart());
        QTextCursor end = found;
        end.setPosition(found.selectionEnd());
        const QRect left = view()->cursorRect(start), right = view()->cursorRect(end);
        return QPoint((left.left() + right.left()) / 2, left.center().y());
    }
    Qt::CursorShape pointerAt(const QString &text) const
    {
        QTest::mouseMove(viewport(), pointOf(text));
        return viewport()->cursor().shape();
    }
};

} // namespace

class TestReferenceLinks : public QObject
{
    Q_OBJECT

private slots:
    void hoverAndClick_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("list"); // shown on a click; -1: nothing happens
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("tip"); // "": the entry, on one line
        QTest::newRow("first list") << "2" << 0 << "2. Author 2. Work."
                                    << "";
        QTest::newRow("entry of two lines")
            << "402" << 1 << "402. Author 402. Work.\n   Continued title."
            << "";
        QTest::newRow("third list") << "1020" << 2 << "1020. Author 1020. Work."
                                    << "";
        QTest::newRow("in no list") << "999" << -1 << "Ссылка 999 в списке не найдена"
                                    << "";
        QTest::newRow("one long word") << "3" << 0 << "3. " + QString::fromLatin1(LongWord)
                                       << "3. " + QString::fromLatin1(LongWord.left(597)) + u'…';
    }
    void hoverAndClick()
    {
        QFETCH(QString, number);
        QFETCH(int, list);
        QFETCH(QString, entry);
        QFETCH(QString, tip);
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        const QByteArray saved = fosdat::rtf::write(*s.view()->document());
        const QString panelBefore = s.panel()->toPlainText();
        QToolTip::hideText();

        // The hand shows over the digits only, and not over a year.
        QCOMPARE(s.pointerAt(QStringLiteral("Abcdia")), Qt::IBeamCursor);
        QCOMPARE(s.pointerAt(QStringLiteral("1975")), Qt::IBeamCursor);
        QCOMPARE(s.pointerAt(QStringLiteral("(Camp)")), Qt::IBeamCursor);
        QCOMPARE(s.pointerAt(number), Qt::PointingHandCursor);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text().remove(QChar(0x200B)),
                 Qt::convertFromPlainText(tip.isEmpty() ? entry.simplified() : tip));
        // Wrapped within the screen, however long its words.
        for (const QWidget *tip : QApplication::topLevelWidgets()) {
            if (tip->inherits("QTipLabel") && tip->isVisible())
                QVERIFY(tip->screen()->geometry().contains(tip->frameGeometry()));
        }

        QTest::mouseClick(s.viewport(), Qt::LeftButton, {}, s.pointOf(number));
        QCOMPARE(fosdat::rtf::write(*s.view()->document()), saved); // the document is untouched
        if (list < 0) {
            QCOMPARE(s.sound.count, 0);
            QCOMPARE(s.panel()->toPlainText(), panelBefore);
            QVERIFY(s.panel()->extraSelections().isEmpty());
            return;
        }
        // The list as its link label shows it, with the one cue.
        QCOMPARE(s.sound.count, 1);
        const QString shown = s.window->refsText();
        QVERIFY(shown.startsWith(QString::number(list * 400 + 1) + u'.'));
        QCOMPARE(s.panel()->toPlainText(),
                 QString(shown).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // The entry at the top, highlighted.
        const QList<QTextEdit::ExtraSelection> marked = s.panel()->extraSelections();
        QCOMPARE(marked.size(), 1);
        QCOMPARE(marked[0].cursor.selectedText(), QString(entry).replace(u'\n', u'\u2029'));
        QCOMPARE(s.panel()->cursorForPosition(QPoint(1, 1)).block().text(),
                 entry.section(u'\n', 0, 0));
        QVERIFY(marked[0].format.background() != s.panel()->palette().base());
    }

    // Dragging from a number selects text; it is no click.
    void dragFromANumberSelects()
    {
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        const QPoint from = s.pointOf(QStringLiteral("402"));
        QTest::mousePress(s.viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(s.viewport(), s.pointOf(QStringLiteral("Abcdia")));
        QTest::mouseRelease(s.viewport(), Qt::LeftButton, {}, s.pointOf(QStringLiteral("Abcdia")));
        QCOMPARE(s.sound.count, 0);
        QVERIFY(s.view()->textCursor().hasSelection());
        QVERIFY(!s.window->refsText().startsWith(u"401."));
    }

    // The mark goes with the list it was made in.
    void linkLabelClearsTheMark()
    {
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        QTest::mouseClick(s.viewport(), Qt::LeftButton, {}, s.pointOf(QStringLiteral("1020")));
        QCOMPARE(s.panel()->extraSelections().size(), 1);
        QTest::mouseClick(s.window->findChild<QWidget *>("Label8"), Qt::LeftButton);
        QVERIFY(s.panel()->extraSelections().isEmpty());
        QCOMPARE(s.sound.count, 2);
    }
};

QTEST_MAIN(TestReferenceLinks)
#include "tst_referencelinks.moc"
