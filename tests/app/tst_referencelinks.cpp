// Reference numbers in the catalogue view as links: the pointer, the
// tooltip and a click that shows the reference in the panel, driven by real
// mouse events on the view's viewport in the catalogue window.
#define QTEST_QPA_MOUSE_HANDLING

#include "RtfWriter.h"
#include "support/Menus.h"
#include "support/WindowSession.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
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

    // Reference list `list` in the panel, as its link label shows it, with
    // `entry` at the top and highlighted.
    void checkShown(int list, const QString &entry) const
    {
        const QString shown = window->refsText();
        QVERIFY(shown.startsWith(QString::number(list * 400 + 1) + u'.'));
        QCOMPARE(panel()->toPlainText(),
                 QString(shown).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        const QList<QTextEdit::ExtraSelection> marked = panel()->extraSelections();
        QCOMPARE(marked.size(), 1);
        QCOMPARE(marked[0].cursor.selectedText(), QString(entry).replace(u'\n', u'\u2029'));
        QCOMPARE(panel()->cursorForPosition(QPoint(1, 1)).block().text(),
                 entry.section(u'\n', 0, 0));
        QVERIFY(marked[0].format.background() != panel()->palette().base());
    }

    // Puts the caret before character `position` of the view by keys.
    void caretByKeys(int position) const
    {
        QTest::keyClick(view(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < position; ++i)
            QTest::keyClick(view(), Qt::Key_Right);
    }
};

QAction *itemNamed(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

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
        s.checkShown(list, entry);
    }

    // Ctrl+Enter follows the number at the caret as a click does, and shows
    // its text at the caret; the caret placed by keys or a click.
    void ctrlEnterFollowsTheNumberAtTheCaret_data()
    {
        QTest::addColumn<QString>("caret"); // how the caret is placed
        QTest::addColumn<QString>("at");    // where: the text that starts there
        QTest::addColumn<int>("offset");    // characters into it
        QTest::addColumn<int>("list");      // -1: no list shown
        QTest::addColumn<QString>("tip");
        QTest::newRow("keys, inside the digits") << "keys"
                                                 << "1020" << 2 << 2 << "1020. Author 1020. Work.";
        QTest::newRow("keys, just after the digits")
            << "keys"
            << "402" << 3 << 1 << "402. Author 402. Work.\n   Continued title.";
        QTest::newRow("keys, a selection holding a number")
            << "selection"
            << "(Camp)\t(2" << 0 << 0 << "2. Author 2. Work.";
        QTest::newRow("a click, then keypad Enter")
            << "click"
            << "402" << 0 << 1 << "402. Author 402. Work.\n   Continued title.";
        QTest::newRow("a number in no list")
            << "keys"
            << "999" << 1 << -1 << "Ссылка 999 в списке не найдена";
        QTest::newRow("a year") << "keys"
                                << "1975" << 1 << -1 << "Курсор не на номере ссылки";
        QTest::newRow("a genus name") << "keys"
                                      << "Abcdia" << 2 << -1 << "Курсор не на номере ссылки";
    }
    void ctrlEnterFollowsTheNumberAtTheCaret()
    {
        QFETCH(QString, caret);
        QFETCH(QString, at);
        QFETCH(int, offset);
        QFETCH(int, list);
        QFETCH(QString, tip);
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        const int position = s.view()->document()->find(at).selectionStart() + offset;
        Qt::KeyboardModifiers enter = Qt::ControlModifier;
        if (caret == "click") {
            QTest::mouseClick(s.viewport(), Qt::LeftButton, {}, s.pointOf(at));
            enter |= Qt::KeypadModifier;
        } else {
            s.caretByKeys(position);
            if (caret == "selection") {
                for (int i = 0; i < at.size(); ++i)
                    QTest::keyClick(s.view(), Qt::Key_Right, Qt::ShiftModifier);
            }
        }
        QTest::keyClick(s.view(), Qt::Key_3, Qt::AltModifier); // another list, unmarked
        QToolTip::hideText();
        s.sound.count = 0;

        QTest::keyClick(s.view(), enter & Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return,
                        enter);
        QTRY_VERIFY(QToolTip::isVisible());
        const bool onANumber = !tip.startsWith(u"Курсор");
        QCOMPARE(QToolTip::text(), onANumber ? Qt::convertFromPlainText(tip.simplified()) : tip);
        // Shown at the caret: just below the line it stands on.
        const QPoint below = s.viewport()->mapToGlobal(s.view()->cursorRect().bottomLeft());
        const QWidgetList tops = QApplication::topLevelWidgets();
        const auto tipLabel = std::find_if(tops.begin(), tops.end(), [](const QWidget *top) {
            return top->inherits("QTipLabel") && top->isVisible();
        });
        QVERIFY(tipLabel != tops.end());
        QVERIFY(qAbs((*tipLabel)->y() - below.y()) < 40 &&
                qAbs((*tipLabel)->x() - below.x()) < 200);
        if (list < 0) {
            QCOMPARE(s.sound.count, 0);
            QVERIFY(s.window->refsText().startsWith(u"801."));
            QVERIFY(s.panel()->extraSelections().isEmpty());
            return;
        }
        QCOMPARE(s.sound.count, 1);
        s.checkShown(list, tip);
    }

    // The context menu of a number in the view shows it; the one of a number
    // or of a panel entry asks for the genera citing it, while anything
    // answers that request.
    void contextMenus_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("at");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("item"); // triggered; empty: none of ours
        QTest::addColumn<int>("cited");    // asked for; -1: nothing
        QTest::newRow("a number: shown") << "view"
                                         << "1020" << false << "Показать ссылку 1020" << -1;
        QTest::newRow("a number: its citing genera")
            << "view"
            << "402" << true << "Роды, ссылающиеся на 402" << 402;
        QTest::newRow("a panel entry: its citing genera")
            << "panel"
            << "2. Author" << true << "Роды, ссылающиеся на 2" << 2;
        QTest::newRow("a panel entry, nothing answers") << "panel"
                                                        << "2. Author" << false << "" << -1;
        QTest::newRow("no number") << "view"
                                   << "Abcdia" << true << "" << -1;
    }
    void contextMenus()
    {
        QFETCH(QString, where);
        QFETCH(QString, at);
        QFETCH(bool, answered);
        QFETCH(QString, item);
        QFETCH(int, cited);
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        QList<int> asked;
        if (answered)
            QObject::connect(s.window.get(), &Fosdat::citingGeneraRequested,
                             [&asked](int number) { asked << number; });
        QWidget *target = s.viewport();
        QPoint point;
        if (where == "view") {
            point = s.pointOf(at);
        } else {
            target = s.panel()->viewport();
            const QTextCursor found = s.panel()->document()->find(at);
            point = s.panel()->cursorRect(found).center();
        }
        QStringList ours;
        whenMenu([&](QMenu *menu) {
            for (const QAction *action : menu->actions()) {
                if (action->text().startsWith(u"Показать") || action->text().startsWith(u"Роды"))
                    ours << action->text();
            }
            if (QAction *action = itemNamed(*menu, item))
                action->trigger();
        });
        QTest::mouseClick(target, Qt::RightButton, {}, point);
        QTRY_VERIFY(!QApplication::activePopupWidget());

        QCOMPARE(ours.isEmpty(), item.isEmpty());
        if (!item.isEmpty())
            QVERIFY2(ours.contains(item), qPrintable(ours.join(u'|')));
        QCOMPARE(ours.filter(QStringLiteral("Роды")).isEmpty(), !answered || item.isEmpty());
        QCOMPARE(asked, cited < 0 ? QList<int>() : QList<int>{cited});
        if (item.startsWith(u"Показать"))
            s.checkShown(2, QStringLiteral("1020. Author 1020. Work."));
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
