// Start-up, the group list and catalogue loading, driven through the real window.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalSpy>
#include <QTest>

using namespace fosdat::data;

namespace
{

// Every group's catalogue holds "<FILE NAME> catalogue".
void writeFullTree(const DataTree &tree)
{
    for (const Group &group : GroupTable) {
        const QString name = group.catalogPath.toString().section(u'\\', -1);
        QVERIFY(tree.writeCatalogue(name, name.toLatin1() + " catalogue"));
    }
    QVERIFY(
        tree.write("dat/BD/REFS1.txt", "1. \xc8\xe2\xe0\xed\xee\xe2 1975\r\n2. Smith 1980\r\n"));
    QVERIFY(tree.write("dat/BD/REFS2.txt", "401. Second list\r\n"));
    QVERIFY(tree.write("dat/BD/REFS3.txt", "801. Third list\r\n"));
}

// QTest::keyClicks() knows only ASCII; Cyrillic is typed key event by key event.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Counts the resize events that `widgets` get as their first: those with no
// size before.
class FirstResizes : public QObject
{
public:
    explicit FirstResizes(const QList<QWidget *> &widgets)
    {
        for (QWidget *widget : widgets)
            widget->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize &&
            !static_cast<QResizeEvent *>(event)->oldSize().isValid())
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    struct Window {
        RecordingSoundCue sound;
        RecordingDialogs dialogs;
        Fosdat fosdat{sound, dialogs};

        Window()
        {
            sound.snapshot = [this] { return viewText(); };
        }
        QComboBox *combo() const { return fosdat.findChild<QComboBox *>("Combo1"); }
        CatalogueView *view() const { return fosdat.catalogueView(); }
        QString viewText() const { return view()->toPlainText(); }
        QString panelText() const
        {
            return fosdat.findChild<QPlainTextEdit *>("Text2")->toPlainText();
        }
        void choose(int index)
        {
            combo()->setCurrentIndex(index);
            emit combo()->activated(index);
        }
    };

private slots:
    void startUpWithAllFiles()
    {
        DataTree tree;
        writeFullTree(tree);
        Window w;
        QVERIFY(w.combo()->currentText().isEmpty());
        QVERIFY(!w.fosdat.catalogPath());

        QSignalSpy shown(&w.fosdat.catalogueLoader(), &CatalogueLoader::documentShown);
        QSignalSpy failed(&w.fosdat.catalogueLoader(), &CatalogueLoader::loadFailed);
        w.fosdat.loadStartupContent();

        // The first group read once, nothing else tried.
        QCOMPARE(shown.size(), 1);
        QCOMPARE(failed.size(), 0);
        QCOMPARE(w.viewText(), QString("FORAM catalogue"));
        QCOMPARE(w.combo()->currentText(), QString("ФОРАМИНИФЕРЫ"));
        QCOMPARE(w.fosdat.catalogPath().value(), QString("dat\\BD\\FORAM"));
        QCOMPARE(w.fosdat.refsText(), QString::fromUtf8("1. Иванов 1975\r\n2. Smith 1980\r\n"));
        QVERIFY(w.panelText().startsWith(QString::fromUtf8("1. Иванов 1975")));
        // Two cues, both before the view showed anything: the OK action's
        // cue comes before its load.
        QCOMPARE(w.sound.atCue, (QStringList{QString(), QString()}));
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    // Sized before the window first shows, the view lays the first group out
    // once, at the width it shows it at: Qt sends the view no first resize
    // of its own when the window shows, which would lay it out again.
    void viewLaidOutOnceBeforeShown()
    {
        DataTree tree;
        writeFullTree(tree);
        Window w;
        CatalogueView *view = w.view();
        // Not the 100 px of a scroll area that has never been resized.
        QCOMPARE(view->viewport()->width(), view->width() - 2 * view->frameWidth());
        w.fosdat.loadStartupContent();
        const qreal laidOutWidth = view->document()->pageSize().width();
        QCOMPARE(laidOutWidth, qreal(view->viewport()->width()));
        FirstResizes firstResizes({view, view->viewport()});
        w.fosdat.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.fosdat));
        QCOMPARE(firstResizes.count, 0);
        QCOMPARE(view->document()->pageSize().width(), laidOutWidth);
    }

    void startUpWithoutDataDirectory()
    {
        DataTree tree;
        Window w;
        w.fosdat.loadStartupContent();
        QVERIFY(w.viewText().isEmpty());
        QVERIFY(w.panelText().isEmpty());
        QCOMPARE(w.combo()->currentText(), QString("ФОРАМИНИФЕРЫ"));
        QCOMPARE(w.fosdat.catalogPath().value(), QString("dat\\BD\\FORAM"));
        QCOMPARE(w.sound.count, 2);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void startUpWithoutFirstReferenceList()
    {
        DataTree tree;
        writeFullTree(tree);
        QVERIFY(tree.remove("dat/BD/REFS1.txt"));
        Window w;
        w.fosdat.loadStartupContent();
        QVERIFY(w.panelText().isEmpty());
        QVERIFY(w.fosdat.refsText().isEmpty());
        QCOMPARE(w.viewText(), QString("FORAM catalogue"));
    }

    void choosingEachGroupLoadsItsFile()
    {
        DataTree tree;
        writeFullTree(tree);
        Window w;
        w.fosdat.loadStartupContent();
        for (int i = 0; i < int(GroupTable.size()); ++i) {
            const QString name = GroupTable[i].catalogPath.toString().section(u'\\', -1);
            w.sound.atCue.clear();
            const QString before = w.viewText();
            w.choose(i);
            QCOMPARE(w.viewText(), name + " catalogue");
            QCOMPARE(w.fosdat.catalogPath().value(), GroupTable[i].catalogPath.toString());
            QCOMPARE(w.sound.atCue, QStringList{before}); // the cue comes before the load
        }
    }

    void arrowKeysStepThroughGroups()
    {
        DataTree tree;
        writeFullTree(tree);
        Window w;
        w.fosdat.loadStartupContent();
        w.fosdat.show();
        w.combo()->setFocus();
        const int cues = w.sound.count;
        QTest::keyClick(w.combo(), Qt::Key_Down);
        QCOMPARE(w.viewText(), QString("FORAM2 catalogue"));
        QTest::keyClick(w.combo(), Qt::Key_Down);
        QCOMPARE(w.viewText(), QString("RAD catalogue"));
        QTest::keyClick(w.combo(), Qt::Key_Up);
        QCOMPARE(w.viewText(), QString("FORAM2 catalogue"));
        QCOMPARE(w.sound.count, cues + 3);
    }

    void typingLoadsNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("toFocusWidget"); // else to the group list itself
        QTest::newRow("Return to the group list") << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter to the group list") << int(Qt::Key_Enter) << false;
        QTest::newRow("Return to the focus widget") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter to the focus widget") << int(Qt::Key_Enter) << true;
        QTest::newRow("Tab away from the group list") << int(Qt::Key_Tab) << false;
    }
    void typingLoadsNothing()
    {
        QFETCH(int, key);
        QFETCH(bool, toFocusWidget);
        DataTree tree;
        writeFullTree(tree);
        Window w;
        w.fosdat.loadStartupContent();
        w.fosdat.show();
        w.fosdat.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.fosdat));
        w.combo()->setFocus();
        QWidget *target = toFocusWidget ? QApplication::focusWidget() : w.combo();
        QVERIFY(target);
        const int cues = w.sound.count;
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier); // select all
        typeText(target, QString("ЧЕРВИ"));                      // a caption exactly
        QTest::keyClick(target, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(w.combo()->currentText(), QString("ЧЕРВИ"));
        QCOMPARE(w.viewText(), QString("FORAM catalogue"));
        QCOMPARE(w.sound.count, cues);
        QCOMPARE(w.fosdat.catalogPath().value(), QString("dat\\BD\\FORAM"));
        QCOMPARE(w.combo()->count(), int(GroupTable.size())); // nothing was added to the list
    }

    void nonMatchingTextReloadsLastGroupFromDisk_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("lower case") << "губки";
        QTest::newRow("trailing blank") << "ГУБКИ ";
        QTest::newRow("empty") << "";
    }
    void nonMatchingTextReloadsLastGroupFromDisk()
    {
        QFETCH(QString, text);
        DataTree tree;
        writeFullTree(tree);
        Window w;
        w.fosdat.loadStartupContent();
        w.choose(3);
        QCOMPARE(w.viewText(), QString("SPONGE catalogue"));
        QVERIFY(tree.writeCatalogue("SPONGE", "SPONGE changed on disk"));

        w.combo()->setEditText(text);
        QVERIFY(QMetaObject::invokeMethod(&w.fosdat, "loadChosenGroup")); // the OK action

        QCOMPARE(w.viewText(), QString("SPONGE changed on disk"));
        QCOMPARE(w.fosdat.catalogPath().value(), QString("dat\\BD\\SPONGE"));
    }

    void missingCatalogueKeepsViewAndStillCues()
    {
        DataTree tree;
        writeFullTree(tree);
        QVERIFY(tree.remove("dat/BD/SPONGE"));
        QVERIFY(tree.write("dat/BD/RAD", "not rich text at all"));
        Window w;
        w.fosdat.loadStartupContent();

        const int cues = w.sound.count;
        w.choose(3); // ГУБКИ, file missing
        QCOMPARE(w.viewText(), QString("FORAM catalogue"));
        QCOMPARE(w.combo()->currentText(), QString("ГУБКИ"));
        QCOMPARE(w.fosdat.catalogPath().value(), QString("dat\\BD\\SPONGE"));
        w.choose(2); // РАДИОЛЯРИИ, not RTF
        QCOMPARE(w.viewText(), QString("FORAM catalogue"));
        QCOMPARE(w.sound.count, cues + 2);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void specialFilesInPlaceOfCatalogues()
    {
        DataTree tree;
        writeFullTree(tree);
        QVERIFY(tree.remove("dat/BD/SPONGE"));
        QVERIFY(QDir().mkpath(tree.path("dat/BD/SPONGE"))); // a directory
        Window w;
        w.fosdat.loadStartupContent();
        w.choose(3);
        QCOMPARE(w.viewText(), QString("FORAM catalogue"));
    }

    void lowerCaseNamesOnDiskAreFound()
    {
        DataTree tree;
        QVERIFY(tree.write("dat/bd/foram", DataTree::catalogue("lower-case foram")));
        QVERIFY(tree.write("dat/bd/refs1.txt", "refs"));
        Window w;
        w.fosdat.loadStartupContent();
        QCOMPARE(w.viewText(), QString("lower-case foram"));
        QCOMPARE(w.panelText(), QString("refs"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
