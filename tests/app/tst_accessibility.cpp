// What assistive tools see of both windows, asked through QAccessible as a
// screen reader would ask, and how the reference panel shows its focus.
#include "FindDialog.h"
#include "Fosdat.h"
#include "Program.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QAccessible>
#include <QFocusFrame>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace
{

// The program with both windows open; the cue and dialogs are recorded.
struct Session {
    DataTree data;
    RecordingSoundCue *sound = nullptr;
    std::unique_ptr<Program> program;

    Session()
    {
        data.write("dat/BD/REFS1.txt", "1. A\r\n");
        data.write("dat/BD/REFS2.txt", "401. B\r\n");
        data.write("dat/BD/REFS3.txt", "801. C\r\n");
        auto cue = std::make_unique<RecordingSoundCue>();
        sound = cue.get();
        program = std::make_unique<Program>(std::move(cue), std::make_unique<RecordingDialogs>());
        program->showCatalogueWindow();
        program->openFindDialog();
        sound->count = 0;
    }

    QWidget *control(const QString &name) const
    {
        if (QWidget *found = program->catalogueWindow()->findChild<QWidget *>(name))
            return found;
        return program->findDialog()->findChild<QWidget *>(name);
    }
    QAccessibleInterface *interface(const QString &name) const
    {
        return QAccessible::queryAccessibleInterface(control(name));
    }
};

// Every object in the accessibility tree below `root`.
void collect(QAccessibleInterface *root, QObjectList &found)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        QVERIFY(child);
        QCOMPARE(root->indexOfChild(child), i);
        found << child->object();
        collect(child, found);
    }
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void namesAndDescriptions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("catalogue view")
            << "RichTextBox1" << QAccessible::EditableText << "Каталог родов";
        QTest::newRow("reference panel")
            << "Text2" << QAccessible::EditableText << "Список литературы";
        QTest::newRow("group list") << "Combo1" << QAccessible::ComboBox << "Группа организмов";
        QTest::newRow("find field") << "Text3" << QAccessible::EditableText << "Название рода";
        QTest::newRow("match case") << "Check1" << QAccessible::CheckBox << "С учетом регистра";
        QTest::newRow("whole word") << "Check2" << QAccessible::CheckBox << "Целое слово";
        QTest::newRow("first list") << "Label2" << QAccessible::Link << "Ссылки с 1-400";
        QTest::newRow("second list") << "Label7" << QAccessible::Link << "Ссылки с 401-800";
        QTest::newRow("third list") << "Label8" << QAccessible::Link << "Ссылки с 801-1200";
        QTest::newRow("find link") << "Label15" << QAccessible::Link << "здесь";
    }
    void namesAndDescriptions()
    {
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        Session s;
        QAccessibleInterface *interface = s.interface(control);
        QVERIFY(interface);
        QCOMPARE(interface->role(), role);
        QVERIFY(!interface->text(QAccessible::Description).isEmpty());
        if (role != QAccessible::ComboBox) {
            QCOMPARE(interface->text(QAccessible::Name), name);
            return;
        }
        // On Linux a combo box speaks its value as its name, and the label
        // that names it is a relation.
        QCOMPARE(s.control(control)->accessibleName(), name);
        const auto labels = interface->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0].first->object(), s.control("Label1"));
    }

    void linksArePressed_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("panel"); // what the panel then shows; empty: the find request
        QTest::newRow("Label2") << "Label2"
                                << "1. A\n";
        QTest::newRow("Label7") << "Label7"
                                << "401. B\n";
        QTest::newRow("Label8") << "Label8"
                                << "801. C\n";
        QTest::newRow("Label15") << "Label15"
                                 << "";
    }
    void linksArePressed()
    {
        QFETCH(QString, label);
        QFETCH(QString, panel);
        Session s;
        QSignalSpy findRequested(s.program->catalogueWindow(), &Fosdat::findRequested);
        QAccessibleActionInterface *actions = s.interface(label)->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        QVERIFY(s.interface(label)->state().linked);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(s.sound->count, 1);
        QCOMPARE(findRequested.size(), panel.isEmpty() ? 1 : 0);
        if (!panel.isEmpty())
            QCOMPARE(s.control("Text2")->property("plainText").toString(), panel);
    }

    // The hidden buttons behind the group list and the find toolbar are no
    // part of the tree, nor reached by Tab; the shown controls are.
    void hiddenControlsStayOut()
    {
        Session s;
        QObjectList found;
        for (QWidget *window : {static_cast<QWidget *>(s.program->catalogueWindow()),
                                static_cast<QWidget *>(s.program->findDialog())}) {
            collect(QAccessible::queryAccessibleInterface(window), found);
            if (QTest::currentTestFailed())
                return;
        }
        for (const char *hidden : {"Command1", "findText"}) {
            QVERIFY2(!found.contains(s.control(hidden)), hidden);
            QCOMPARE(s.control(hidden)->focusPolicy(), Qt::NoFocus);
        }
        for (const char *shown : {"RichTextBox1", "Text2", "Combo1", "Label2", "Label15", "Text3",
                                  "Check1", "Check2", "Toolbar1"})
            QVERIFY2(found.contains(s.control(shown)), shown);
        for (const QObject *object : std::as_const(found))
            QVERIFY(!qobject_cast<const QFocusFrame *>(object));
    }

    // A ring in the highlight colour over the panel's edge while it has the
    // focus; the panel and its text do not move.
    void panelShowsItsFocus()
    {
        Session s;
        s.program->findDialog()->close();
        Fosdat *window = s.program->catalogueWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *panel = static_cast<QPlainTextEdit *>(s.control("Text2"));
        const QRect viewport = panel->viewport()->geometry();
        const QColor highlight = panel->palette().color(QPalette::Active, QPalette::Highlight);
        const auto edgeColor = [&] {
            return window->centralWidget()->grab().toImage().pixelColor(
                panel->geometry().topLeft() + QPoint(100, 1));
        };
        s.control("Combo1")->setFocus();
        QVERIFY(edgeColor() != highlight);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), panel);
        QCOMPARE(edgeColor(), highlight);
        QCOMPARE(panel->viewport()->geometry(), viewport);
        QTest::keyClick(panel, Qt::Key_Tab);
        QVERIFY(edgeColor() != highlight);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
