// "Каталог во всё окно": the catalogue view fills the window and follows its
// size, resized and maximised, with the group list, the links and the panel
// at hand, none over another however small the window is made; leaving it
// gives back the window's fixed layout exactly. The first entry shown and
// the selection stay through the mode, the zoom and the window's sizes.
#include "SampleTree.h"
#include "support/WindowSession.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace
{

struct Session : WindowSession {
    explicit Session(const QByteArray &foram = DataTree::catalogue("Abcdia K (Camp) (1)"))
        : WindowSession({{"dat/BD/REFS1.txt", "1. A\r\n"}, {"dat/BD/FORAM", foram}})
    {
    }

    QWidget *central() const { return window->centralWidget(); }
    QWidget *child(const char *name) const { return central()->findChild<QWidget *>(name); }

    // Every control of the window with its place and whether it shows.
    QList<std::tuple<QString, QRect, bool>> controls() const
    {
        QList<std::tuple<QString, QRect, bool>> all;
        for (const QWidget *widget : central()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            all.append({widget->objectName(), widget->geometry(), widget->isVisible()});
        return all;
    }
};

// The first paragraph any of which the view shows, by where the layout puts
// the paragraphs and how far the view is scrolled.
int firstShownParagraph(const CatalogueView &view)
{
    const QTextDocument &document = *view.document();
    const int top = view.verticalScrollBar()->value();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (document.documentLayout()->blockBoundingRect(block).bottom() > top)
            return view.firstParagraph() + block.blockNumber();
    }
    return -1;
}

// Presses `key` in the catalogue view, as the user does.
void press(Session &s, QKeyCombination key)
{
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    s.view()->setFocus();
    QTest::keyClick(s.view(), key.key(), key.keyboardModifiers());
}

} // namespace

class TestReadingMode : public QObject
{
    Q_OBJECT

private slots:
    void viewFollowsTheWindow_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("Ctrl+Shift+R in the view") << "RichTextBox1" << false;
        QTest::newRow("Ctrl+Shift+R in the group list") << "Combo1" << false;
        QTest::newRow("the Вид menu") << "Text2" << true;
    }
    void viewFollowsTheWindow()
    {
        QFETCH(QString, focus);
        QFETCH(bool, byMenu);
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        // Centred on the offscreen platform's screen of 800 px, the window
        // would start left of it, where the platform moves a window that is
        // shown again.
        s.window->move(30, 40);
        QTRY_COMPARE(s.window->pos(), QPoint(30, 40));
        const auto controls = s.controls();
        const QRect geometry = s.window->geometry();
        const Qt::WindowFlags flags = s.window->windowFlags();
        auto *mode = s.window->findChild<QAction *>("mnuReadingMode");
        QVERIFY(!mode->isChecked()); // off at start-up
        const auto toggle = [&] {
            s.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
            s.window->findChild<QWidget *>(focus)->setFocus();
            if (!byMenu) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_R,
                                Qt::ControlModifier | Qt::ShiftModifier);
                return;
            }
            // Alt+В opens "Вид"; its item's letter К toggles the mode.
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(0x0412),
                                QStringLiteral("в"), Qt::AltModifier);
            QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
            QTest::sendKeyEvent(QTest::Click, QApplication::activePopupWidget(), Qt::Key(0x041A),
                                QStringLiteral("к"), Qt::NoModifier);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        };
        toggle();
        QVERIFY(mode->isChecked());
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        QVERIFY(s.window->windowFlags() & Qt::WindowMaximizeButtonHint);
        for (const char *hidden : {"Image2", "Label4", "Label6", "Label15", "Line2"})
            QVERIFY2(!s.child(hidden)->isVisible(), hidden);
        for (const char *shown : {"Combo1", "Label2", "Label7", "Label8", "Text2"})
            QVERIFY2(s.child(shown)->isVisible(), shown);

        QWidget *view = s.view();
        QWidget *panel = s.panel();
        // The view and the panel fill what the strip above leaves, the view
        // the larger part, and the catalogue is laid out at the view's width.
        const auto checkFilled = [&] {
            const QSize size = s.central()->size();
            QCOMPARE(view->y(), panel->y());
            QVERIFY(view->y() > s.child("Combo1")->geometry().bottom());
            QVERIFY(view->geometry().right() < panel->x());
            QCOMPARE(panel->geometry().right(), size.width() - 9);
            QCOMPARE(view->geometry().bottom(), size.height() - 9);
            QVERIFY(view->width() > panel->width());
            QTRY_COMPARE(qRound(s.view()->document()->textWidth()), s.view()->viewport()->width());
        };
        int lastWidth = 0;
        for (const QSize size : {QSize(700, 480), QSize(826, 537), QSize(1100, 760)}) {
            s.window->resize(size.width(), size.height() + s.window->menuBar()->height());
            QTRY_COMPARE(s.central()->size(), size);
            checkFilled();
            QVERIFY(view->width() > lastWidth);
            lastWidth = view->width();
        }
        // A window made tiny keeps the strip whole and the view beside the
        // panel, none over another.
        s.window->resize(300, 200);
        QTRY_VERIFY(s.window->width() > 300);
        const QList<QWidget *> kept = {s.child("Combo1"),
                                       s.child("Label2"),
                                       s.child("Label7"),
                                       s.child("Label8"),
                                       view,
                                       panel};
        for (qsizetype one = 0; one < kept.size(); ++one) {
            QVERIFY2(s.central()->rect().contains(kept[one]->geometry()),
                     qPrintable(kept[one]->objectName()));
            for (qsizetype other = one + 1; other < kept.size(); ++other) {
                QVERIFY2(!kept[one]->geometry().intersects(kept[other]->geometry()),
                         qPrintable(kept[one]->objectName() + u' ' + kept[other]->objectName()));
            }
        }
        QCOMPARE(view->y(), panel->y());
        // Maximised, the window takes the screen, here the offscreen one.
        s.window->resize(400, 300);
        s.window->showMaximized();
        QTRY_VERIFY(s.window->isMaximized());
        QTRY_COMPARE(s.window->frameGeometry().size(),
                     s.window->screen()->availableGeometry().size());
        checkFilled();

        toggle();
        QVERIFY(!mode->isChecked());
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        QTRY_COMPARE(s.window->geometry(), geometry);
        QCOMPARE(s.window->windowFlags(), flags);
        QVERIFY(!s.window->isMaximized());
        QCOMPARE(s.controls(), controls);
        QCOMPARE(s.central()->size(), QSize(826, 537));
    }

    // Scrolled into the middle of a catalogue, with a genus selected: the
    // same paragraph stays first in the view and the selection stays,
    // through the mode and the zoom, the window maximised and restored.
    void keepsTheFirstShownEntry_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("in and out") << QStringList{"mode", "mode"};
        QTest::newRow("zoomed") << QStringList{"in", "in", "out", "out", "out"};
        QTest::newRow("zoomed in the mode") << QStringList{"mode", "in", "in", "mode", "out"};
        QTest::newRow("maximised and restored")
            << QStringList{"mode", "maximise", "restore", "mode"};
        QTest::newRow("left maximised") << QStringList{"mode", "maximise", "mode"};
        QTest::newRow("zoomed and maximised") << QStringList{"mode", "in", "maximise", "mode"};
    }
    void keepsTheFirstShownEntry()
    {
        QFETCH(QStringList, steps);
        Session s(fosdat::sampledata::scaledCatalogue(1500));
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        CatalogueView &view = *s.view();
        // Paragraph 700 at the top, a few pixels of it scrolled away.
        view.showAtTop({700, 0});
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + 3);
        QCOMPARE(firstShownParagraph(view), 700);
        QTextCursor selection(view.document()->findBlockByNumber(703 - view.firstParagraph()));
        selection.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
        const fosdat::TextMatch selected = view.selection();
        for (const QString &step : steps) {
            if (step == u"mode")
                press(s, Qt::CTRL | Qt::SHIFT | Qt::Key_R);
            else if (step == u"in")
                press(s, Qt::CTRL | Qt::Key_Plus);
            else if (step == u"out")
                press(s, Qt::CTRL | Qt::Key_Minus);
            else if (step == u"maximise")
                s.window->showMaximized();
            else
                s.window->showNormal();
            QTRY_COMPARE(firstShownParagraph(view), 700);
            QCOMPARE(view.selection(), selected);
        }
        // The window is as it was.
        QVERIFY(!s.window->isMaximized());
        QCOMPARE(s.central()->size(), QSize(826, 537));
    }
};

QTEST_MAIN(TestReadingMode)
#include "tst_readingmode.moc"
