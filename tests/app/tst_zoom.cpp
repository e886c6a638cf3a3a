// Zooming the catalogue view and the reference panel together, by the keys
// the window system delivers and by Ctrl+wheel over either.
#define QTEST_QPA_MOUSE_HANDLING

#include "RtfWriter.h"
#include "ViewZoom.h"
#include "support/WindowSession.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace
{

using Keys = QList<QKeyCombination>;

// Text of the sizes the RTF file sets (10 pt, then 40 pt) in two groups
// whose lines are alike high.
const QByteArray Foram = "Abcdia K (Camp) (12)\\par\n{\\fs80 Bigdia}";
const QByteArray Rad = "Radia S (Wenl) (13)\\par\n{\\fs80 Bigradia}";

struct Session : WindowSession {
    Session()
        : WindowSession({{"dat/BD/REFS1.txt", "12. A\r\n13. B\r\n"},
                         {"dat/BD/FORAM", DataTree::catalogue(Foram)},
                         {"dat/BD/RAD", DataTree::catalogue(Rad)}})
    {
    }

    int percent() const { return view()->findChild<ViewZoom *>()->percent(); }

    // The height of each paragraph's first line as laid out now.
    QList<qreal> lineHeights() const
    {
        QList<qreal> heights;
        QTextDocument *document = view()->document();
        document->documentLayout()->documentSize(); // lays everything out
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            heights << block.layout()->lineAt(0).height();
        return heights;
    }
    void press(const Keys &keys) const
    {
        for (const QKeyCombination key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
    void wheel(QWidget *viewport, int angle) const
    {
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
};

// Each line grows with the zoom: the large text in proportion, within the
// rounding of font sizes to whole pixels, the small text at least the right way.
void compareScaled(const QList<qreal> &heights, const QList<qreal> &normal, int percent)
{
    QCOMPARE(heights.size(), 2);
    QCOMPARE(heights[0] > normal[0], percent > 100);
    QCOMPARE(heights[0] < normal[0], percent < 100);
    const qreal expected = normal[1] * percent / 100;
    QVERIFY2(qAbs(heights[1] - expected) <= 1.5 + expected * 0.02,
             qPrintable(QStringLiteral("%1 against %2").arg(heights[1]).arg(expected)));
}

} // namespace

class TestZoom : public QObject
{
    Q_OBJECT

private slots:
    void keysStepTheZoom_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("percent");
        const QKeyCombination in(Qt::CTRL | Qt::Key_Plus), out(Qt::CTRL | Qt::Key_Minus);
        QTest::newRow("Ctrl+plus") << "RichTextBox1" << Keys{in} << 110;
        QTest::newRow("Ctrl+= twice, in the panel")
            << "Text2" << Keys{Qt::CTRL | Qt::Key_Equal, Qt::CTRL | Qt::Key_Equal} << 125;
        QTest::newRow("keypad plus, in the group list")
            << "Combo1"
            << Keys{QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)} << 110;
        QTest::newRow("Ctrl+minus") << "RichTextBox1" << Keys{out} << 90;
        QTest::newRow("down to the smallest") << "RichTextBox1" << Keys(6, out) << 50;
        QTest::newRow("up to the largest") << "RichTextBox1" << Keys(9, in) << 300;
        QTest::newRow("Ctrl+0 back to normal")
            << "RichTextBox1" << Keys{in, in, in, Qt::CTRL | Qt::Key_0} << 100;
    }
    void keysStepTheZoom()
    {
        QFETCH(QString, focus);
        QFETCH(Keys, keys);
        QFETCH(int, percent);
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        const QList<qreal> normal = s.lineHeights();
        const qreal panelPoints = s.panel()->font().pointSizeF();
        s.window->findChild<QWidget *>(focus)->setFocus();
        s.press(keys);
        QCOMPARE(s.percent(), percent);
        compareScaled(s.lineHeights(), normal, percent);
        QCOMPARE(s.panel()->font().pointSizeF(), panelPoints * percent / 100);
        if (percent == 100)
            QCOMPARE(s.lineHeights(), normal);
        // The level in the "Вид" menu, and for a moment over the view.
        QCOMPARE(s.window->findChild<QAction *>("mnuZoomLevel")->text(),
                 QStringLiteral("Масштаб %1 %").arg(percent));
        const auto *shown = s.view()->findChild<QLabel *>("zoomIndicator");
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->text(), QStringLiteral("%1 %").arg(percent));
        QVERIFY(s.view()->viewport()->geometry().contains(shown->geometry()));
    }

    void ctrlWheelOverEitherZooms()
    {
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        s.wheel(s.panel()->viewport(), 120);
        QCOMPARE(s.percent(), 110);
        s.wheel(s.view()->viewport(), -240);
        QCOMPARE(s.percent(), 90);
        // A fine wheel steps once a notch has added up.
        s.wheel(s.view()->viewport(), 60);
        QCOMPARE(s.percent(), 90);
        s.wheel(s.view()->viewport(), 60);
        QCOMPARE(s.percent(), 100);
        QCOMPARE(s.panel()->font().pointSizeF(), 8.25);
        // The level over the view goes a moment after the last step.
        QVERIFY(s.view()->findChild<QLabel *>("zoomIndicator")->isVisible());
        QTRY_VERIFY(!s.view()->findChild<QLabel *>("zoomIndicator")->isVisible());
    }

    // What is saved and searched stays; the zoom holds for the next group;
    // nothing in the window moves.
    void zoomChangesNoDocument()
    {
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        const QByteArray saved = fosdat::rtf::write(*s.view()->document());
        const QRect viewGeometry = s.view()->geometry(), panelGeometry = s.panel()->geometry();
        const QList<qreal> normal = s.lineHeights();
        s.view()->setFocus();
        s.press({Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Plus});
        QCOMPARE(fosdat::rtf::write(*s.view()->document()), saved);
        QVERIFY(s.view()->selectFirstMatch(QStringLiteral("Bigdia"), {}));
        QCOMPARE(s.view()->textCursor().selectionStart(),
                 int(s.view()->toPlainText().indexOf(u"Bigdia")));
        // Laid out for the viewport at a higher resolution, the same in all else.
        const QPaintDevice *zoomed = s.view()->document()->documentLayout()->paintDevice();
        const QWidget *viewport = s.view()->viewport();
        QCOMPARE(zoomed->logicalDpiY(), qRound(viewport->logicalDpiY() * 1.25));
        QCOMPARE(zoomed->devicePixelRatioF(), viewport->devicePixelRatioF());
        QCOMPARE(zoomed->depth(), viewport->depth());

        auto *groups = s.window->findChild<QComboBox *>("Combo1");
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Down);
        QTest::keyClick(groups, Qt::Key_Down); // РАДИОЛЯРИИ
        QVERIFY(s.view()->toPlainText().startsWith(u"Radia"));
        compareScaled(s.lineHeights(), normal, 125);
        QCOMPARE(s.view()->geometry(), viewGeometry);
        QCOMPARE(s.panel()->geometry(), panelGeometry);

        s.press({Qt::CTRL | Qt::Key_0});
        QCOMPARE(s.lineHeights(), normal);
        QVERIFY(!s.view()->document()->documentLayout()->paintDevice());
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
