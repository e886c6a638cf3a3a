// The search window, find next and find previous, driven through key presses
// to the real windows offscreen.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "FindDialog.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "Program.h"
#include "SearchCommands.h"
#include "SearchCountLine.h"
#include "SearchWindow.h"
#include "support/DataTree.h"
#include "support/Fakes.h"
#include "support/RtfPicture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QThreadPool>
#include <QToolBar>

namespace
{

// The first group's catalogue, shown at start-up.
const QByteArray Foram = "{\\b Abcdia} K (Camp)\\par Abcdiaella J (Oxf)\\par "
                         "Bolivina abcdia-like\\par Zeta ABCDIA";
const QString ForamText = QStringLiteral("Abcdia K (Camp)\nAbcdiaella J (Oxf)\n"
                                         "Bolivina abcdia-like\nZeta ABCDIA");
// The second group's.
const QByteArray Foram2 = "Alpha after";
// The third group's: matches after a picture, which the document counts as
// one character and the text-only reader leaves out.
const QByteArray Rad = "Zygodia R (Ord)\\par after x " + rtfPicture() + " Abcdia after a picture";
const int RadAbcdia = 16 + 10; // the second paragraph's start, "after x ", the picture, a blank
const int RadAfter = RadAbcdia + 7;
// The fifth group's: a word too long for a line, which the reader breaks with
// a zero-width space after 256 letters, inside "Zetabcdef".
const QByteArray Archaeo = "Alpha\\par " + QByteArray(250, 'a') + "Zetabcdef K (Camp)";

// A running program in a scratch data set, its catalogue window shown and active.
struct Session {
    DataTree data;
    RecordingSoundCue *sound = nullptr;
    RecordingDialogs *dialogs = nullptr;
    std::unique_ptr<Program> program;

    Session()
    {
        for (const fosdat::data::Group &group : fosdat::data::GroupTable)
            data.writeCatalogue(group.catalogPath.toString().section(u'\\', -1), "Filler");
        data.writeCatalogue(QStringLiteral("FORAM"), Foram);
        data.writeCatalogue(QStringLiteral("FORAM2"), Foram2);
        data.writeCatalogue(QStringLiteral("RAD"), Rad);
        data.writeCatalogue(QStringLiteral("ARCHAEO"), Archaeo);
        data.write(QStringLiteral("dat/BD/REFS1.txt"), "1. Reference\r\n");
        auto cue = std::make_unique<RecordingSoundCue>();
        auto recording = std::make_unique<RecordingDialogs>();
        sound = cue.get();
        dialogs = recording.get();
        program = std::make_unique<Program>(std::move(cue), std::move(recording));
        program->showCatalogueWindow()->activateWindow();
    }
    ~Session() { program.reset(); }

    Fosdat *window() const { return program->catalogueWindow(); }
    CatalogueView *view() const { return window()->catalogueView(); }
    SearchWindow *search() const { return program->searchCommands().searchWindow(); }
    template <typename T> T *searchChild(const char *name) const
    {
        return search()->findChild<T *>(QLatin1String(name));
    }
    QString countLine() const { return searchChild<QLabel>("countLine")->text(); }
    // A key press to whatever has the focus, as the keyboard gives it.
    static void press(QKeyCombination key)
    {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
};

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void openResultWithTheKeyboard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QString>("countLine");
        QTest::addColumn<int>("downs"); // presses of Down, the first in the field
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("selected");
        QTest::newRow("the third result, after a picture in another group")
            << "after" << false << "Найдено: 3 в 2 группах" << 3 << "РАДИОЛЯРИИ"
            << "dat\\BD\\RAD" << RadAfter;
        QTest::newRow("the first result, Enter in the field")
            << "after" << false << "Найдено: 3 в 2 группах" << 0 << "ФОРАМИНИФЕРЫ2"
            << "dat\\BD\\FORAM2" << 6;
        QTest::newRow("the fourth, whole words only")
            << "abcdia" << true << "Найдено: 4 в 2 группах" << 4 << "РАДИОЛЯРИИ"
            << "dat\\BD\\RAD" << RadAbcdia;
        QTest::newRow("the second, in the group shown")
            << "abcdia" << false << "Найдено: 5 в 2 группах" << 2 << "ФОРАМИНИФЕРЫ"
            << "dat\\BD\\FORAM" << 16;
    }
    void openResultWithTheKeyboard()
    {
        QFETCH(QString, text);
        QFETCH(bool, wholeWord);
        QFETCH(QString, countLine);
        QFETCH(int, downs);
        QFETCH(QString, caption);
        QFETCH(QString, path);
        QFETCH(int, selected);

        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        Session::press(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QVERIFY(s.search());
        QVERIFY(QTest::qWaitForWindowActive(s.search()));
        auto *field = s.searchChild<QLineEdit>("searchText");
        QCOMPARE(QApplication::focusWidget(), field);
        if (wholeWord) {
            s.searchChild<QWidget>("wholeWords")->setFocus();
            Session::press(QKeyCombination(Qt::Key_Space));
            field->setFocus();
        }
        QTest::keyClicks(field, text);
        QTRY_COMPARE(s.countLine(), countLine);

        const int cues = s.sound->count;
        for (int down = 0; down < downs; ++down)
            Session::press(QKeyCombination(Qt::Key_Down));
        QCOMPARE(QApplication::focusWidget(),
                 downs > 0 ? static_cast<QWidget *>(s.searchChild<QListView>("resultList"))
                           : static_cast<QWidget *>(field));
        Session::press(QKeyCombination(Qt::Key_Return));

        // Chosen as in the group list: its caption shown, the cue, the file loaded.
        QCOMPARE(s.window()->findChild<QComboBox *>("Combo1")->currentText(), caption);
        QCOMPARE(s.window()->catalogPath().value_or(QString()), path);
        QCOMPARE(s.sound->count, cues + 1);
        const QTextCursor selection = s.view()->textCursor();
        QCOMPARE(selection.selectionStart(), selected);
        QCOMPARE(selection.selectedText().toLower(), text);
        QVERIFY(s.view()->viewport()->rect().contains(s.view()->cursorRect()));
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        QCOMPARE(QApplication::focusWidget(), s.view());
        QVERIFY(s.search()->isVisible());
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // A catalogue read in the background: the result is selected once it is
    // shown, unless another group is chosen before that.
    void openResultReadInTheBackground_data()
    {
        QTest::addColumn<bool>("otherGroupChosen"); // with Up in the group list
        QTest::newRow("selected once shown") << false;
        QTest::newRow("dropped for a group chosen meanwhile") << true;
    }
    void openResultReadInTheBackground()
    {
        QFETCH(bool, otherGroupChosen);
        Session s;
        QByteArray sponge;
        for (int genus = 0; genus < 3000; ++genus)
            sponge += "Fillerus" + QByteArray::number(genus) + " K (Camp)\\par ";
        QVERIFY(s.data.writeCatalogue(QStringLiteral("SPONGE"),
                                      sponge + "Zyxspongia J\\par " + sponge));
        QVERIFY(s.data.writeCatalogue(QStringLiteral("RAD"), "Zyxspongia too"));
        s.window()->catalogueLoader().setBackgroundThreshold(1024);
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        s.program->searchCommands().openSearchWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.search()));
        QTest::keyClicks(s.searchChild<QLineEdit>("searchText"), "zyxspongia");
        QTRY_COMPARE(s.countLine(), QStringLiteral("Найдено: 2 в 2 группах"));
        Session::press(QKeyCombination(Qt::Key_Down));
        Session::press(QKeyCombination(Qt::Key_Down)); // ГУБКИ, after РАДИОЛЯРИИ
        Session::press(QKeyCombination(Qt::Key_Return));
        QVERIFY(s.window()->catalogueLoader().isLoading());
        if (otherGroupChosen) {
            auto *groups = s.window()->findChild<QComboBox *>("Combo1");
            groups->setFocus();
            QTest::keyClick(groups, Qt::Key_Up); // РАДИОЛЯРИИ, read at once
            QTRY_VERIFY(!s.window()->catalogueLoader().isLoading());
            QThreadPool::globalInstance()->waitForDone();
            QTest::qWait(50);
            QCOMPARE(s.view()->toPlainText(), QStringLiteral("Zyxspongia too"));
            QVERIFY(!s.view()->textCursor().hasSelection());
            return;
        }
        QTRY_COMPARE(s.view()->textCursor().selectedText(), QStringLiteral("Zyxspongia"));
        QCOMPARE(s.view()->textCursor().selectionStart(),
                 s.view()->toPlainText().indexOf(QStringLiteral("Zyxspongia")));
        // In the middle of the view, with the lines around it.
        const int middle = s.view()->viewport()->height() / 2;
        QVERIFY(qAbs(s.view()->cursorRect().center().y() - middle) <=
                s.view()->fontMetrics().height());
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        QCOMPARE(QApplication::focusWidget(), s.view());
    }

    // The find dialog's selection and find next, previous and the highlights
    // all end where the match ends, past the break the reader put into it.
    void findNextSelectsTheFindDialogsSpan_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<bool>("fromEnd");
        QTest::newRow("F3") << QKeyCombination(Qt::Key_F3) << false;
        QTest::newRow("Shift+F3") << (Qt::SHIFT | Qt::Key_F3) << true;
    }
    void findNextSelectsTheFindDialogsSpan()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(bool, fromEnd);
        Session s;
        s.window()->chooseGroup(4);
        s.program->openFindDialog();
        FindDialog *dialog = s.program->findDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->findChild<QLineEdit *>("Text3")->setText(QStringLiteral("zetabcd"));
        auto *toolbar = dialog->findChild<QToolBar *>("Toolbar1");
        QTest::mouseClick(toolbar->widgetForAction(dialog->findChild<QAction *>("Button1")),
                          Qt::LeftButton);
        const QTextCursor found = s.view()->textCursor();
        QCOMPARE(found.selectedText().remove(QChar(0x200B)), QStringLiteral("Zetabcd"));
        QCOMPARE(found.selectionEnd() - found.selectionStart(), 8); // the break inside

        QTextCursor away(s.view()->document());
        away.movePosition(fromEnd ? QTextCursor::End : QTextCursor::Start);
        s.view()->setTextCursor(away);
        s.window()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        Session::press(key);
        const QTextCursor again = s.view()->textCursor();
        QCOMPARE(again.selectionStart(), found.selectionStart());
        QCOMPARE(again.selectionEnd(), found.selectionEnd());
        const QList<QTextEdit::ExtraSelection> highlights = s.view()->extraSelections();
        QCOMPARE(highlights.size(), 1);
        QCOMPARE(highlights.first().cursor.selectionStart(), found.selectionStart());
        QCOMPARE(highlights.first().cursor.selectionEnd(), found.selectionEnd());
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // The count line's wording: plurals, large numbers, what was not read whole.
    void countLineWording_data()
    {
        using Stage = fosdat::SearchCount::Stage;
        QTest::addColumn<int>("stage");
        QTest::addColumn<qsizetype>("matches");
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QStringList>("unread");
        QTest::addColumn<QStringList>("partly");
        QTest::addColumn<QString>("line");
        const QStringList none;
        QTest::newRow("no search")
            << int(Stage::Idle) << qsizetype(0) << 0 << 0 << none << none << "";
        QTest::newRow("first search, catalogues read")
            << int(Stage::Reading) << qsizetype(0) << 0 << 0 << none << none << "Каталог читается…";
        QTest::newRow("going on") << int(Stage::Searching) << qsizetype(40) << 21 << 40 << none
                                  << none << "Найдено: 40 в 21 группе…";
        QTest::newRow("eleven groups") << int(Stage::Finished) << qsizetype(12) << 11 << 12 << none
                                       << none << "Найдено: 12 в 11 группах";
        QTest::newRow("more than listed")
            << int(Stage::Finished) << qsizetype(1'234'567) << 34 << 50'000 << none << none
            << "Найдено: 1\u00A0234\u00A0567 в 34 группах, показаны первые 50\u00A0000";
        QTest::newRow("nothing, one file unread, two held in part")
            << int(Stage::Finished) << qsizetype(0) << 0 << 0 << QStringList{"ГУБКИ"}
            << QStringList{"РАДИОЛЯРИИ", "ЧЕРВИ"}
            << "Ничего не найдено\nГУБКИ: файл не прочитан\nРАДИОЛЯРИИ, ЧЕРВИ: файлы слишком "
               "велики, поиск только в их начале";
        QTest::newRow("one held in part")
            << int(Stage::Finished) << qsizetype(1) << 1 << 1 << none << QStringList{"ЧЕРВИ"}
            << "Найдено: 1 в 1 группе\nЧЕРВИ: файл слишком велик, поиск только в его начале";
    }
    void countLineWording()
    {
        QFETCH(int, stage);
        QFETCH(qsizetype, matches);
        QFETCH(int, groups);
        QFETCH(int, listed);
        QFETCH(QStringList, unread);
        QFETCH(QStringList, partly);
        QFETCH(QString, line);
        fosdat::SearchCount count;
        count.stage = fosdat::SearchCount::Stage(stage);
        count.matches = matches;
        count.groups = groups;
        count.listed = listed;
        count.unread = unread;
        count.partlyRead = partly;
        QCOMPARE(searchCountLine(count), line);
    }

    void countLineAndEscape()
    {
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        s.program->searchCommands().openSearchWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.search()));
        auto *field = s.searchChild<QLineEdit>("searchText");
        auto *list = s.searchChild<QListView>("resultList");
        QTest::keyClicks(field, "Zyx");
        QTRY_COMPARE(s.countLine(), QStringLiteral("Ничего не найдено"));
        QCOMPARE(list->model()->rowCount(), 0);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTRY_COMPARE(s.countLine(), QStringLiteral("Найдено: 1 в 1 группе"));
        QCOMPARE(list->model()->rowCount(), 1);
        // Typing in the list goes on in the field.
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClicks(list, "go");
        QCOMPARE(field->text(), QStringLiteral("Zygo"));
        QCOMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTRY_COMPARE(s.countLine(), QString());
        QCOMPARE(list->model()->rowCount(), 0);
        QVERIFY(s.dialogs->messages.isEmpty());

        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!s.search()->isVisible());
        // One window, shown again as it was left.
        SearchWindow *first = s.search();
        s.window()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        Session::press(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QCOMPARE(s.search(), first);
        QVERIFY(first->isVisible());
    }

    void findNextAndPreviousGoRound_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromSearchWindow"); // else from the find dialog
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QList<int>>("selections"); // after each key
        const QKeyCombination f3(Qt::Key_F3);
        const QKeyCombination shiftF3(Qt::SHIFT | Qt::Key_F3);
        QTest::newRow("F3 to the end and round")
            << "abcdia" << false << QList{f3, f3, f3, f3, f3} << QList{0, 16, 44, 61, 0};
        QTest::newRow("Shift+F3 round the start and back")
            << "abcdia" << false << QList{shiftF3, shiftF3, shiftF3, f3} << QList{61, 44, 16, 44};
        QTest::newRow("the search window's search")
            << "ABCDIA" << true << QList{f3, shiftF3, shiftF3} << QList{0, 61, 44};
    }
    void findNextAndPreviousGoRound()
    {
        QFETCH(QString, text);
        QFETCH(bool, fromSearchWindow);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QList<int>, selections);

        Session s;
        QCOMPARE(s.view()->toPlainText(), ForamText);
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        if (fromSearchWindow) {
            s.program->searchCommands().openSearchWindow();
            QTest::keyClicks(s.searchChild<QLineEdit>("searchText"), text);
            QTRY_VERIFY(s.countLine().startsWith(QStringLiteral("Найдено")));
            s.window()->activateWindow();
        } else {
            s.program->openFindDialog();
            emit s.program->findDialog()->findRequested(text, {});
        }
        s.view()->setFocus();
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        s.view()->setTextCursor(QTextCursor(s.view()->document()));

        for (qsizetype press = 0; press < keys.size(); ++press) {
            Session::press(keys[press]);
            const QTextCursor selection = s.view()->textCursor();
            QCOMPARE(selection.selectionStart(), selections[press]);
            QCOMPARE(selection.selectedText().toLower(), text.toLower());
        }
        // Every match highlighted, until another group loads.
        QCOMPARE(s.view()->extraSelections().size(), 4);
        s.window()->chooseGroup(2);
        QVERIFY(s.view()->extraSelections().isEmpty());
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    void findNextWithoutAMatch()
    {
        Session s;
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        s.program->openFindDialog();
        emit s.program->findDialog()->findRequested(QStringLiteral("Zygodia"), {});
        QCOMPARE(s.dialogs->messages.size(), 1);
        s.window()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        for (const QKeyCombination key : {QKeyCombination(Qt::Key_F3), Qt::SHIFT | Qt::Key_F3}) {
            Session::press(key);
            QVERIFY(!s.view()->textCursor().hasSelection());
        }
        QCOMPARE(s.dialogs->messages.size(), 3);
        for (const RecordingDialogs::Message &message : std::as_const(s.dialogs->messages)) {
            QCOMPARE(message.text, QStringLiteral("Строка не найдена!"));
            QCOMPARE(message.title, QStringLiteral("База данных Тарвина"));
            QCOMPARE(message.icon, QMessageBox::Critical);
        }
    }
};

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
