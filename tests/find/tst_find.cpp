// The find dialog and the genus search, through the real windows offscreen.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "FindDialog.h"
#include "Fosdat.h"
#include "Program.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace
{

const QByteArray RtfHead =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}\\pard\\f0\\fs20 ";

// The first group's catalogue: a genus at the very first character, names
// that begin alike, a name split over format runs, a Cyrillic name.
const QByteArray Foram = RtfHead + "{\\b Abcdia} K (Camp)\\par\n"
                                   "Abcdiella J (Oxf)\\par\n"
                                   "Bol{\\i ivi}na abcdia-like\\par\n"
                                   "\\'c0\\'e1\\'e2\\'e3\\'e4\\'e5\\'ff\\'ed\\'e0 P\\par\n"
                                   "Zeta ABCDIA\\par\n}";
const QString ForamText = QStringLiteral("Abcdia K (Camp)\nAbcdiella J (Oxf)\n"
                                         "Bolivina abcdia-like\nАбвгдеяна P\nZeta ABCDIA");

// The third group's catalogue (РАДИОЛЯРИИ).
const QByteArray Rad = RtfHead + "Zygodia R (Ord)\\par\n}";
constexpr int RadIndex = 2;

const QString NotFound = QStringLiteral("Строка не найдена!");

// A running program in a scratch data set, with its catalogue window shown.
class Session
{
public:
    Session()
    {
        m_data.write(QStringLiteral("dat/BD/FORAM"), Foram);
        m_data.write(QStringLiteral("dat/BD/RAD"), Rad);
        m_data.write(QStringLiteral("dat/BD/REFS1.txt"), "1. Reference\r\n");
        auto dialogs = std::make_unique<RecordingDialogs>();
        this->dialogs = dialogs.get();
        program =
            std::make_unique<Program>(std::make_unique<RecordingSoundCue>(), std::move(dialogs));
        program->showCatalogueWindow();
    }

    FindDialog *open()
    {
        program->openFindDialog();
        return program->findDialog();
    }

    void write(const QString &path, const QByteArray &bytes) { m_data.write(path, bytes); }

    template <typename T> T *child(const char *name) const
    {
        return program->findDialog()->findChild<T *>(QLatin1String(name));
    }

    CatalogueView *view() const { return program->catalogueWindow()->catalogueView(); }

    void search(const QString &text, bool matchCase = false, bool wholeWord = false)
    {
        child<QLineEdit>("Text3")->setText(text);
        child<QCheckBox>("Check1")->setChecked(matchCase);
        child<QCheckBox>("Check2")->setChecked(wholeWord);
        QTest::mouseClick(button("Button1"), Qt::LeftButton);
    }

    // The toolbar button of the action named `name`: Button1 finds, Button2 closes.
    QToolButton *button(const char *name) const
    {
        return qobject_cast<QToolButton *>(
            child<QToolBar>("Toolbar1")->widgetForAction(child<QAction>(name)));
    }

    int selectionStart() const
    {
        const QTextCursor cursor = view()->textCursor();
        return cursor.hasSelection() ? cursor.selectionStart() : -1;
    }

private:
    DataTree m_data; // first: the current directory for the program

public:
    RecordingDialogs *dialogs = nullptr;
    std::unique_ptr<Program> program;
};

// A property of the dialog or of one of its controls; besides Qt's own:
// "windowType", "staysOnTop", "closeButtonOnly" (no minimise or maximise
// box), "parent", "fixedSize", "pointSize", "inView" (inside the window),
// "clearCorner" (a toolbar button's picture is see-through at its corner).
QVariant propertyOf(const FindDialog &dialog, const QWidget &control, const QString &property)
{
    const Qt::WindowFlags flags = control.windowFlags();
    if (property == u"windowType")
        return int(flags & Qt::WindowType_Mask);
    if (property == u"staysOnTop")
        return bool(flags & Qt::WindowStaysOnTopHint);
    if (property == u"closeButtonOnly")
        return (flags & Qt::WindowCloseButtonHint) &&
               !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    if (property == u"parent")
        return control.parentWidget() != nullptr;
    if (property == u"fixedSize")
        return control.minimumSize() == control.maximumSize();
    if (property == u"pointSize")
        return control.font().pointSizeF();
    if (property == u"inView")
        return dialog.rect().intersects(QRect(control.mapTo(&dialog, QPoint()), control.size()));
    if (property == u"clearCorner") {
        const auto &button = static_cast<const QToolButton &>(control);
        const QImage picture = button.icon().pixmap(QSize(24, 24)).toImage();
        return qAlpha(picture.pixel(0, 0)) == 0;
    }
    if (property == u"toolButtonStyle")
        return control.property("toolButtonStyle").toInt();
    return control.property(qPrintable(property));
}

int visibleFindDialogs()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += qobject_cast<FindDialog *>(window) && window->isVisible();
    return count;
}

// Lets closed windows be deleted and queued notices arrive.
void settle()
{
    QTest::qWait(20);
}

} // namespace

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        settle();
        QCOMPARE(visibleFindDialogs(), 0);
    }

    void opensOneSharedDialog()
    {
        Session session;
        FindDialog *first = session.open();
        QVERIFY(first);
        QPointer<FindDialog> guard(first);
        // Both ways the catalogue window asks for it, then directly again.
        emit session.program->catalogueWindow()->findRequested();
        emit session.program->catalogueWindow()->findRequested();
        settle();
        QCOMPARE(session.program->findDialog(), first);
        QVERIFY(guard);
        QCOMPARE(visibleFindDialogs(), 1);
    }

    void minimisedDialogComesBack_data()
    {
        QTest::addColumn<bool>("fromLink"); // else from the menu command
        QTest::newRow("Ctrl+F") << false;
        QTest::newRow("здесь") << true;
    }
    void minimisedDialogComesBack()
    {
        QFETCH(bool, fromLink);
        Session session;
        FindDialog *dialog = session.open();
        const QPoint home = dialog->pos();
        dialog->move(home + QPoint(120, 90));
        dialog->showMinimized();
        QTRY_VERIFY(dialog->isMinimized());
        Fosdat *catalogue = session.program->catalogueWindow();
        catalogue->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(catalogue));
        if (fromLink) {
            auto *link = catalogue->findChild<QWidget *>(QStringLiteral("Label15"));
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
        } else {
            QTest::keyClick(catalogue, Qt::Key_F, Qt::ControlModifier);
        }
        QCOMPARE(session.program->findDialog(), dialog);
        QTRY_VERIFY(!dialog->isMinimized());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->pos(), home);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(QApplication::focusWidget(), session.child<QLineEdit>("Text3"));
    }

    // What the dialog's design gives it and its controls: a small tool window
    // above the others at the screen's corner, controls at their places in
    // the program's font, the toolbar's buttons with their pictures.
    void asDesigned_data()
    {
        QTest::addColumn<QString>("name");     // a control, a toolbar action, or the dialog
        QTest::addColumn<QString>("property"); // a property, or one of propertyOf()'s own
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char *name, const char *property, const QVariant &value) {
            QTest::addRow("%s %s", name, property) << name << property << value;
        };
        row("frnFind", "windowTitle", "Найти название рода");
        row("frnFind", "windowType", int(Qt::Tool));
        row("frnFind", "staysOnTop", true);
        row("frnFind", "closeButtonOnly", true);
        row("frnFind", "modal", false);
        row("frnFind", "parent", false);
        row("frnFind", "fixedSize", true);
        // Offscreen windows have no frame: the client area is the whole window.
        row("frnFind", "frameGeometry",
            QRect(QGuiApplication::primaryScreen()->geometry().topLeft(), QSize(320, 80)));
        // Hidden or shown, a control lies wholly inside the window or wholly outside.
        for (const char *name : {"Label1", "Text3", "Toolbar1", "Check1", "Check2", "findText"}) {
            const bool inView = std::string_view(name).starts_with("Label") ||
                                std::string_view(name) == "Text3" ||
                                std::string_view(name) == "Toolbar1";
            row(name, "inView", inView);
            row(name, "visible", std::string_view(name) != "findText");
            row(name, "pointSize", 8.25); // as in the catalogue window
        }
        const std::tuple<const char *, const char *, bool> buttons[] = {
            {"Button1", "НАЙТИ!", true}, {"Button2", "Закрыть", false}};
        for (const auto &[name, toolTip, clearCorner] : buttons) {
            row(name, "toolTip", toolTip);
            row(name, "size", QSize(31, 30));
            row(name, "toolButtonStyle", int(Qt::ToolButtonIconOnly));
            row(name, "iconSize", QSize(24, 24));
            // The light grey ground of a picture is see-through.
            row(name, "clearCorner", clearCorner);
            row(name, "visible", true);
            row(name, "inView", true);
        }
    }
    void asDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        Session session;
        FindDialog *dialog = session.open();
        QWidget *control = dialog;
        if (dialog->findChild<QAction *>(name))
            control = session.button(qPrintable(name));
        else if (name != u"frnFind")
            control = dialog->findChild<QWidget *>(name);
        QVERIFY(control);
        const QVariant actual = propertyOf(*dialog, *control, property);
        QVERIFY2(actual == value, qPrintable(QDebug::toString(actual)));
    }

    void tabOrder()
    {
        Session session;
        FindDialog *dialog = session.open();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(dialog->focusWidget(), session.child<QLineEdit>("Text3"));
        const QList<QWidget *> expected{session.child<QCheckBox>("Check1"),
                                        session.child<QCheckBox>("Check2"),
                                        session.button("Button1"), session.button("Button2"),
                                        session.child<QLineEdit>("Text3")};
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // A check box out of sight still toggles from the keyboard.
        auto *check1 = session.child<QCheckBox>("Check1");
        check1->setFocus();
        QTest::keyClick(check1, Qt::Key_Space);
        QVERIFY(check1->isChecked());
    }

    void reopeningStartsAfresh()
    {
        Session session;
        FindDialog *dialog = session.open();
        const QPoint home = dialog->pos();
        QPointer<FindDialog> first(dialog);
        session.child<QLineEdit>("Text3")->setText(QStringLiteral("Abcdia"));
        session.child<QCheckBox>("Check1")->setChecked(true);
        session.child<QCheckBox>("Check2")->setChecked(true);
        dialog->move(home + QPoint(200, 150));
        QTest::mouseClick(session.button("Button2"), Qt::LeftButton);
        QVERIFY(!session.program->findDialog());
        // Opened again before the closed one is gone: still a fresh one.
        FindDialog *second = session.open();
        QVERIFY(second != first);
        settle();
        QVERIFY(!first);
        QCOMPARE(session.program->findDialog(), second);
        QVERIFY(session.child<QLineEdit>("Text3")->text().isEmpty());
        QVERIFY(!session.child<QCheckBox>("Check1")->isChecked());
        QVERIFY(!session.child<QCheckBox>("Check2")->isChecked());
        QCOMPARE(second->pos(), home);
        QCOMPARE(second->frameGeometry().size(), QSize(320, 80));
    }

    void closeBoxCloses()
    {
        Session session;
        QPointer<FindDialog> dialog(session.open());
        dialog->close(); // what the title bar's close box does
        settle();
        QVERIFY(!dialog);
        QVERIFY(!session.program->findDialog());
    }

    void escapeCloses_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("find field") << "Text3";
        QTest::newRow("check box") << "Check1";
    }
    void escapeCloses()
    {
        QFETCH(QString, focus);
        Session session;
        QPointer<FindDialog> dialog(session.open());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        session.child<QLineEdit>("Text3")->setText(QStringLiteral("Abcdia"));
        auto *control = dialog->findChild<QWidget *>(focus);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Escape);
        settle();
        QVERIFY(!dialog);
        QVERIFY(!session.program->findDialog());
        QVERIFY(session.dialogs->messages.isEmpty());
    }

    void clickingToolbarButtons()
    {
        Session session;
        session.open();
        session.child<QLineEdit>("Text3")->setText(QStringLiteral("Zygodia"));
        QTest::mouseClick(session.button("Button1"), Qt::LeftButton);
        QCOMPARE(session.dialogs->messages.size(), 1);
        QTest::mouseClick(session.button("Button2"), Qt::LeftButton);
        QVERIFY(!session.program->findDialog());
    }

    void enterStartsNoSearch()
    {
        Session session;
        QVERIFY(QTest::qWaitForWindowActive(session.open()));
        auto *text3 = session.child<QLineEdit>("Text3");
        QTest::keyClicks(text3, QStringLiteral("Zygodia"));
        QTest::keyClick(text3, Qt::Key_Return);
        QTest::keyClick(text3, Qt::Key_Enter);
        QVERIFY(session.dialogs->messages.isEmpty());
        QVERIFY(!session.child<QPushButton>("findText")->isVisible());
        QCOMPARE(session.program->findDialog()->focusWidget(), text3);
    }

    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QString>("foundAt"); // where the match begins; empty: none

        QTest::newRow("name at the first character") << "Abcdia" << false << false << "Abcdia K";
        QTest::newRow("lower case finds a capital") << "abcdia" << false << false << "Abcdia K";
        QTest::newRow("match case") << "abcdia" << true << false << "abcdia-like";
        QTest::newRow("match case, none") << "bolivina" << true << false << "";
        QTest::newRow("beginning of a longer name") << "Abcdiel" << false << false << "Abcdiella";
        QTest::newRow("whole word refuses it") << "Abcdiel" << false << true << "";
        QTest::newRow("whole word") << "Abcdiella" << false << true << "Abcdiella";
        QTest::newRow("both options") << "ABCDIA" << true << true << "ABCDIA";
        QTest::newRow("both options, none") << "Abcdi" << true << true << "";
        QTest::newRow("over format runs") << "bolivina" << false << false << "Bolivina";
        QTest::newRow("Cyrillic, case ignored") << "АБВГДЕЯНА" << false << false << "Абвгдеяна";
        QTest::newRow("Cyrillic, match case") << "абвгдеяна" << true << false << "";
        QTest::newRow("Cyrillic, whole word") << "Абвгдея" << false << true << "";
        QTest::newRow("text as typed, spaces kept") << " Zeta" << false << false << "";
        QTest::newRow("not in this group") << "Zygodia" << false << false << "";
    }
    void search()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QString, foundAt);
        Session session;
        session.open();
        QCOMPARE(session.view()->toPlainText(), ForamText);
        session.search(text, matchCase, wholeWord);
        const int expected = foundAt.isEmpty() ? -1 : ForamText.indexOf(foundAt);
        QCOMPARE(session.selectionStart(), expected);
        if (expected >= 0) {
            QVERIFY(session.dialogs->messages.isEmpty());
            QCOMPARE(session.view()->textCursor().selectedText().toLower(), text.toLower());
        } else {
            QCOMPARE(session.dialogs->messages.size(), 1);
        }
    }

    void notFoundMessage()
    {
        Session session;
        session.open();
        session.search(QStringLiteral("Zygodia"), true, true);
        QCOMPARE(session.dialogs->messages.size(), 1);
        const RecordingDialogs::Message &message = session.dialogs->messages.first();
        QCOMPARE(message.text, NotFound);
        QCOMPARE(message.title, QStringLiteral("База данных Тарвина"));
        QCOMPARE(message.icon, QMessageBox::Critical);
        // The dialog keeps what the user typed and ticked.
        QCOMPARE(session.child<QLineEdit>("Text3")->text(), QStringLiteral("Zygodia"));
        QVERIFY(session.child<QCheckBox>("Check1")->isChecked());
        QVERIFY(session.child<QCheckBox>("Check2")->isChecked());
    }

    void emptyTextIsNotFound()
    {
        Session session;
        session.open();
        session.search(QString());
        QCOMPARE(session.dialogs->messages.size(), 1);
        QCOMPARE(session.dialogs->messages.first().text, NotFound);
        QCOMPARE(session.selectionStart(), -1);
    }

    void everyPressSelectsTheFirstMatch()
    {
        Session session;
        session.open();
        for (int press = 0; press < 3; ++press) {
            session.search(QStringLiteral("abcdi"));
            QCOMPARE(session.selectionStart(), 0);
        }
        QVERIFY(session.dialogs->messages.isEmpty());
    }

    void searchesTheGroupShown()
    {
        Session session;
        session.open();
        session.search(QStringLiteral("Zygodia"));
        QCOMPARE(session.dialogs->messages.size(), 1);
        auto *combo =
            session.program->catalogueWindow()->findChild<QComboBox *>(QStringLiteral("Combo1"));
        combo->setCurrentIndex(RadIndex);
        emit combo->activated(RadIndex);
        session.search(QStringLiteral("Zygodia"));
        QCOMPARE(session.dialogs->messages.size(), 1);
        QCOMPARE(session.selectionStart(), 0);
    }

    void foundMatchGetsTheFocus()
    {
        Session session;
        FindDialog *dialog = session.open();
        session.view()->setPlainText(ForamText); // whatever the catalogue files hold
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        session.search(QStringLiteral("Zeta"));
        Fosdat *catalogue = session.program->catalogueWindow();
        QVERIFY(QTest::qWaitForWindowActive(catalogue));
        QTRY_COMPARE(QApplication::focusWidget(), session.view());
        QCOMPARE(session.view()->textCursor().selectedText(), QStringLiteral("Zeta"));
        // The dialog stays open, above the catalogue window.
        QCOMPARE(session.program->findDialog(), dialog);
        QVERIFY(dialog->isVisible());
    }

    void foundMatchRestoresMinimizedCatalogue()
    {
        Session session;
        session.open();
        session.view()->setPlainText(ForamText);
        Fosdat *catalogue = session.program->catalogueWindow();
        catalogue->showMinimized();
        QTRY_VERIFY(catalogue->isMinimized());
        session.search(QStringLiteral("Zeta"));
        QTRY_VERIFY(!catalogue->isMinimized());
        QVERIFY(QTest::qWaitForWindowActive(catalogue));
    }

    // A window made again reads its first catalogue anew: at once, or, over
    // the size read in the background, while the search waits for it; a file
    // that turns out unreadable there finds nothing.
    void closedCatalogueIsOpenedAgain_data()
    {
        QTest::addColumn<QByteArray>("foram"); // empty: as the session wrote it
        QTest::addColumn<bool>("found");
        // Padded past the size, in a part the reader skips.
        const QByteArray padding(CatalogueLoader::DefaultBackgroundThreshold, 'x');
        QTest::newRow("read at once") << QByteArray() << true;
        QTest::newRow("read in the background")
            << Foram.chopped(1) + "{\\*\\fosdatpadding " + padding + "}}" << true;
        QTest::newRow("not RTF, found so in the background") << padding + "x" << false;
    }
    void closedCatalogueIsOpenedAgain()
    {
        QFETCH(QByteArray, foram);
        QFETCH(bool, found);
        Session session;
        session.open();
        if (!foram.isEmpty())
            session.write(QStringLiteral("dat/BD/FORAM"), foram);
        QPointer<Fosdat> old(session.program->catalogueWindow());
        QSignalSpy ended(session.program.get(), &Program::ended);
        old->close();
        settle();
        QVERIFY(!old);
        QVERIFY(!session.program->catalogueWindow());
        QCOMPARE(ended.size(), 0);

        session.search(QStringLiteral("Bolivina"));
        Fosdat *fresh = session.program->catalogueWindow();
        QVERIFY(fresh);
        QVERIFY(fresh->isVisible());
        QCOMPARE(fresh->catalogueLoader().isLoading(), !foram.isEmpty());
        QTRY_VERIFY(!fresh->catalogueLoader().isLoading());
        if (found) {
            QCOMPARE(session.view()->toPlainText(), ForamText);
            QCOMPARE(session.selectionStart(), ForamText.indexOf(QStringLiteral("Bolivina")));
            QTRY_COMPARE(QApplication::focusWidget(), session.view());
            QVERIFY(session.dialogs->messages.isEmpty());
        } else {
            QCOMPARE(session.view()->toPlainText(), QString());
            QCOMPARE(session.dialogs->messages.size(), 1);
            QCOMPARE(session.dialogs->messages.first().text, NotFound);
        }
        settle();
        QCOMPARE(ended.size(), 0);
    }

    void programEndsWithItsLastWindow_data()
    {
        QTest::addColumn<bool>("catalogueFirst");
        QTest::newRow("catalogue window, then dialog") << true;
        QTest::newRow("dialog, then catalogue window") << false;
    }
    void programEndsWithItsLastWindow()
    {
        QFETCH(bool, catalogueFirst);
        Session session;
        session.open();
        QWidget *first = session.program->catalogueWindow();
        QWidget *second = session.program->findDialog();
        if (!catalogueFirst)
            std::swap(first, second);
        QSignalSpy ended(session.program.get(), &Program::ended);
        first->close();
        settle();
        QCOMPARE(ended.size(), 0);
        second->close();
        QTRY_COMPARE(ended.size(), 1);
    }

    void eventLoopOutlivesTheCatalogueWindow()
    {
        Session session;
        session.open();
        QSignalSpy aboutToQuit(qApp, &QCoreApplication::aboutToQuit);
        bool dialogOutlivedCatalogue = false;
        QTimer closeCatalogue;
        closeCatalogue.setSingleShot(true);
        connect(&closeCatalogue, &QTimer::timeout,
                [&] { session.program->catalogueWindow()->close(); });
        QTimer closeDialog;
        closeDialog.setSingleShot(true);
        connect(&closeDialog, &QTimer::timeout, [&] {
            dialogOutlivedCatalogue =
                !session.program->catalogueWindow() && session.program->findDialog();
            session.program->findDialog()->close();
        });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        closeCatalogue.start(0);
        closeDialog.start(200);
        giveUp.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(dialogOutlivedCatalogue);
        QCOMPARE(aboutToQuit.size(), 1);
    }

    void exitClosesBoth()
    {
        Session session;
        QPointer<FindDialog> dialog(session.open());
        QPointer<Fosdat> catalogue(session.program->catalogueWindow());
        QSignalSpy ended(session.program.get(), &Program::ended);
        emit catalogue->exitRequested();
        QVERIFY(!dialog->isVisible());
        QVERIFY(!catalogue->isVisible());
        QCOMPARE(ended.size(), 1);
        settle();
        QVERIFY(!dialog);
        QVERIFY(!catalogue);
        QCOMPARE(ended.size(), 1);
    }
};

QTEST_MAIN(TestFind)
#include "tst_find.moc"
