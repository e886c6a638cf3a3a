// The search window, find next and find previous, driven through key presses
// to the real windows offscreen.
#define QTEST_QPA_MOUSE_HANDLING // clicks through the window, which makes context menus of them
#include "CatalogueFile.h"
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "DiversityCommands.h"
#include "DiversityWindow.h"
#include "FindDialog.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "Program.h"
#include "RtfText.h"
#include "SampleTree.h"
#include "SearchCommands.h"
#include "SearchCountLine.h"
#include "SearchWindow.h"
#include "support/DataTree.h"
#include "support/Fakes.h"
#include "support/Menus.h"
#include "support/RtfPicture.h"
#include "support/RunningProgram.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <cmath>

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
struct Session : RunningProgram {
    DataTree data;

    Session()
    {
        for (const fosdat::data::Group &group : fosdat::data::GroupTable)
            data.writeCatalogue(group.catalogPath.toString().section(u'\\', -1), "Filler");
        data.writeCatalogue(QStringLiteral("FORAM"), Foram);
        data.writeCatalogue(QStringLiteral("FORAM2"), Foram2);
        data.writeCatalogue(QStringLiteral("RAD"), Rad);
        data.writeCatalogue(QStringLiteral("ARCHAEO"), Archaeo);
        data.write(QStringLiteral("dat/BD/REFS1.txt"), "1. Reference\r\n");
        start();
    }
    ~Session() { program.reset(); }

    template <typename T> T *searchChild(const char *name) const
    {
        return search()->findChild<T *>(QLatin1String(name));
    }
    QString countLine() const { return searchChild<QLabel>("countLine")->text(); }
    QListView *list() const { return searchChild<QListView>("resultList"); }
    // The listed rows as "CAPTION: line".
    QStringList rows() const
    {
        QStringList rows;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            rows << list()->model()->index(row, 0).data().toString();
        return rows;
    }
    // A key press to whatever has the focus, as the keyboard gives it.
    static void press(QKeyCombination key)
    {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
};

void openFromSearchWindow(Session &s, const QString &text)
{
    s.program->searchCommands().openSearchWindow();
    QTest::keyClicks(s.searchChild<QLineEdit>("searchText"), text);
    QTRY_COMPARE(s.countLine(), QStringLiteral("Найдено: 1 в 1 группе"));
    Session::press(QKeyCombination(Qt::Key_Return));
}

// The Campanian's row chosen in the stage table, then `genus` in the list of
// its genera, opened with Enter.
void openFromDiversityWindow(Session &s, const QString &genus)
{
    s.program->diversityCommands().openWindow();
    QWidget *window = s.program->diversityCommands().window();
    auto *table = window->findChild<QTableView *>("stageTable");
    QTRY_VERIFY(table->model()->rowCount() > 0);
    const QModelIndexList camp = table->model()->match(table->model()->index(0, 0), Qt::DisplayRole,
                                                       QStringLiteral("Camp"), 1, Qt::MatchExactly);
    QCOMPARE(camp.size(), 1);
    table->setCurrentIndex(camp[0]);
    auto *genera = window->findChild<QTreeView *>("genusList");
    QTRY_VERIFY(genera->model()->rowCount() > 0);
    const QModelIndexList row = genera->model()->match(genera->model()->index(0, 0),
                                                       Qt::DisplayRole, genus, 1, Qt::MatchExactly);
    QCOMPARE(row.size(), 1);
    genera->setFocus();
    genera->setCurrentIndex(row[0]);
    QTest::keyClick(genera, Qt::Key_Return);
}

// The highest contrast of a pixel of the caption column against the row's
// background, as the WCAG define it.
double captionContrast(QListView *list, int row)
{
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    const QImage image = list->viewport()->grab(rect).toImage();
    const auto luminance = [](QRgb rgb) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) +
               0.0722 * linear(qBlue(rgb));
    };
    const double background = luminance(image.pixel(1, image.height() / 2));
    double best = 1;
    for (int x = 0; x < image.width() / 4; ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const double pixel = luminance(image.pixel(x, y));
            best = std::max(best, (std::max(pixel, background) + 0.05) /
                                      (std::min(pixel, background) + 0.05));
        }
    }
    return best;
}

// Fields of a CSV text, quoted or not, a row a list.
QList<QStringList> parseCsv(const QString &csv)
{
    static const QRegularExpression field(QStringLiteral(R"re("((?:[^"]|"")*)"|([^,\r]*))re"));
    QList<QStringList> rows{{}};
    for (qsizetype at = 0; at < csv.size();) {
        const QRegularExpressionMatch match = field.match(csv, at);
        rows.last() << (match.capturedLength(1) ? match.captured(1).replace(QStringLiteral("\"\""),
                                                                            QStringLiteral("\""))
                                                : match.captured(2));
        at = match.capturedEnd();
        if (csv.mid(at, 2) == u"\r\n" && at + 2 < csv.size())
            rows.append(QStringList());
        at += csv.at(at) == u',' ? 1 : 2;
    }
    return rows;
}

// The lines of `text` that cite reference `number`, once for each time: a
// plain reading of the lists of numbers in brackets, apart from the program's.
QStringList linesCiting(const QString &caption, const QString &text, int number)
{
    static const QRegularExpression separators(QStringLiteral(R"(\s*[,;]\s*|\s+)"));
    QStringList lines;
    for (const QString &line : text.split(u'\n')) {
        for (qsizetype open = line.indexOf(u'('); open >= 0; open = line.indexOf(u'(', open + 1)) {
            const qsizetype close = line.indexOf(u')', open);
            if (close < 0)
                break;
            const QStringList numbers =
                line.mid(open + 1, close - open - 1).trimmed().split(separators);
            const bool references =
                std::all_of(numbers.begin(), numbers.end(), [](const QString &n) {
                    bool digits = false;
                    const int value = n.toInt(&digits);
                    return digits && !n.startsWith(u'0') && n.size() <= 4 && value <= 1200 &&
                           std::all_of(n.begin(), n.end(), [](QChar c) { return c.isDigit(); });
                });
            for (qsizetype cited = references ? numbers.count(QString::number(number)) : 0;
                 cited > 0; --cited)
                lines << caption + QStringLiteral(": ") + line;
        }
    }
    return lines;
}

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
        QVERIFY(s.data.writeCatalogue(QStringLiteral("RAD"), "Zyxspongia K (Camp)"));
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
            QCOMPARE(s.view()->toPlainText(), QStringLiteral("Zyxspongia K (Camp)"));
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

    // The genus named by the query above the names that start with it, above
    // the rest, in every group or in one chosen in the filter; Enter, pressed
    // before the search ends, opens the first. The captions are as legible as
    // any text.
    void rankedResultsOpenedByEnter_data()
    {
        QTest::addColumn<int>("filterDowns"); // presses of Down in the group filter
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("countLine");
        QTest::addColumn<QString>("path"); // opened
        QTest::addColumn<int>("selected");
        const QString exact = QStringLiteral("ГУБКИ: Mesocrinus K (Camp) (12)");
        const QString start = QStringLiteral("ГУБКИ: Mesocrinusella J");
        const QString inside = QStringLiteral("ФОРАМИНИФЕРЫ2: Eveimesocrinus K (Camp) (4)");
        QTest::newRow("all groups")
            << 0 << QStringList{exact, start, inside} << "Найдено: 3 в 2 группах"
            << "dat\\BD\\SPONGE" << 17;
        QTest::newRow("one group")
            << 2 << QStringList{inside} << "Найдено: 1 в группе ФОРАМИНИФЕРЫ2 (всего 3 в 2 группах)"
            << "dat\\BD\\FORAM2" << 4;
        QTest::newRow("a group without a match")
            << 1 << QStringList() << "Ничего не найдено в группе ФОРАМИНИФЕРЫ (всего 3 в 2 группах)"
            << "dat\\BD\\FORAM" << -1;
    }
    void rankedResultsOpenedByEnter()
    {
        QFETCH(int, filterDowns);
        QFETCH(QStringList, rows);
        QFETCH(QString, countLine);
        QFETCH(QString, path);
        QFETCH(int, selected);
        Session s;
        QVERIFY(s.data.writeCatalogue(QStringLiteral("FORAM2"), "Eveimesocrinus K (Camp) (4)"));
        QVERIFY(s.data.writeCatalogue(QStringLiteral("SPONGE"),
                                      "Mesocrinusella J\\par Mesocrinus K (Camp) (12)"));
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        Session::press(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QVERIFY(QTest::qWaitForWindowActive(s.search()));
        auto *filter = s.searchChild<QComboBox>("groupFilter");
        QCOMPARE(filter->currentText(), QStringLiteral("все группы"));
        QCOMPARE(filter->count(), 35);
        filter->setFocus();
        for (int down = 0; down < filterDowns; ++down)
            Session::press(QKeyCombination(Qt::Key_Down));
        auto *field = s.searchChild<QLineEdit>("searchText");
        field->setFocus();
        const int cues = s.sound->count;
        QTest::keyClicks(field, "mesocrinus");
        Session::press(QKeyCombination(Qt::Key_Return)); // before the results are in

        QTRY_COMPARE(s.countLine(), countLine);
        QCOMPARE(s.rows(), rows);
        QCOMPARE(s.window()->catalogPath().value_or(QString()), path);
        QCOMPARE(s.sound->count, cues + (rows.isEmpty() ? 0 : 1));
        const QTextCursor selection = s.view()->textCursor();
        QCOMPARE(selection.hasSelection() ? selection.selectionStart() : -1, selected);
        if (selection.hasSelection())
            QCOMPARE(selection.selectedText().toLower(), QStringLiteral("mesocrinus"));
        for (int row = 0; row < std::min<int>(int(rows.size()), 2); ++row) {
            QCOMPARE(s.list()->selectionModel()->isRowSelected(row), row == 0);
            QVERIFY2(captionContrast(s.list(), row) >= 4.5, qPrintable(rows[row]));
        }
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // Rows selected together are copied one a line, one tab between group
    // and line (the line's own tabs and line breaks as spaces), and exported
    // as CSV; with one or none selected, every row is exported.
    void copyAndExportTheRows()
    {
        Session s;
        QVERIFY(s.data.writeCatalogue(QStringLiteral("FORAM2"),
                                      "Abcdiana Smith, 1975\\tab K (Camp)\\tab (12, 45)\\line x"));
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        s.program->searchCommands().openSearchWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.search()));
        auto *field = s.searchChild<QLineEdit>("searchText");
        auto *exportButton = s.searchChild<QPushButton>("exportResults");
        QVERIFY(!exportButton->isEnabled());
        QTest::keyClicks(field, "abcdia");
        QTRY_COMPARE(s.countLine(), QStringLiteral("Найдено: 6 в 3 группах"));
        const QStringList lines{"ФОРАМИНИФЕРЫ\tAbcdia K (Camp)",
                                "ФОРАМИНИФЕРЫ\tAbcdiaella J (Oxf)",
                                "ФОРАМИНИФЕРЫ2\tAbcdiana Smith, 1975 K (Camp) (12, 45) x",
                                "ФОРАМИНИФЕРЫ\tBolivina abcdia-like",
                                "ФОРАМИНИФЕРЫ\tZeta ABCDIA",
                                "РАДИОЛЯРИИ\tafter x  Abcdia after a picture"};

        Session::press(QKeyCombination(Qt::Key_Down)); // into the list
        Session::press(Qt::CTRL | Qt::Key_A);
        Session::press(Qt::CTRL | Qt::Key_C);
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, lines.join(u'\n') + u'\n');
        for (const QString &line : copied.split(u'\n', Qt::SkipEmptyParts))
            QCOMPARE(line.count(u'\t'), 1);

        // The second and third rows, Down and Shift+Down from the first.
        Session::press(QKeyCombination(Qt::Key_Home));
        Session::press(QKeyCombination(Qt::Key_Down));
        Session::press(Qt::SHIFT | Qt::Key_Down);
        const QString path = s.data.path(QStringLiteral("rows.csv"));
        s.dialogs->answer = path;
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QCOMPARE(s.dialogs->saveRequests.size(), 1);
        QCOMPARE(s.dialogs->saveRequests[0].proposed, QStringLiteral("abcdia.csv"));
        QCOMPARE(s.dialogs->saveRequests[0].filter, QStringLiteral("CSV (*.csv)"));
        const QStringList header{"group", "genus", "text", "range", "references"};
        const auto exported = [&path] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? parseCsv(QString::fromUtf8(file.readAll()))
                                                  : QList<QStringList>();
        };
        QCOMPARE(exported(),
                 (QList<QStringList>{
                     header,
                     {"ФОРАМИНИФЕРЫ", "Abcdiaella", "Abcdiaella J (Oxf)", "J (Oxf)", ""},
                     {"ФОРАМИНИФЕРЫ2", "Abcdiana", "Abcdiana Smith, 1975\tK (Camp)\t(12, 45)\nx",
                      "K (Camp)", "12, 45"}}));

        // One row selected: all are exported, to the folder of the last export.
        QTest::mouseClick(s.list()->viewport(), Qt::LeftButton, {},
                          s.list()->visualRect(s.list()->model()->index(4, 0)).center());
        QCOMPARE(s.list()->selectionModel()->selectedRows().size(), 1);
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QCOMPARE(s.dialogs->saveRequests.last().proposed, s.data.path("abcdia.csv"));
        const QList<QStringList> all = exported();
        QCOMPARE(all.size(), lines.size() + 1);
        for (qsizetype row = 0; row < lines.size(); ++row) {
            const QString text = QString(all[row + 1][2]).replace(u'\t', u' ').replace(u'\n', u' ');
            QCOMPARE(all[row + 1][0] + u'\t' + text, lines[row]);
        }
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // "Роды, ссылающиеся на N" from the context menu of a number in the view
    // lists every line of the generated data set that cites N, and no line
    // where N is part of a year, a page range or any other number; typing
    // in the field goes back to the ordinary search.
    void citingSearchListsTheCitingLines()
    {
        Session s;
        QVERIFY(fosdat::sampledata::writeFiles(s.data.path(QStringLiteral(".")),
                                               fosdat::sampledata::sampleTree())
                    .isEmpty());
        QVERIFY(s.data.writeCatalogue(
            QStringLiteral("RAD"),
            "Citera K (Camp) (45)\\par Citerb J (Oxf) (12, 45; 1020) (45)\\par Citerc (45 46)"
            "\\par Decoya Smith, 1945 K (Camp) (12)\\par Decoyb (Smith, 45) (7)\\par Decoyc (45-47)"
            "\\par Decoyd (045) 45 m\\par Decoye (1945)\\par Decoyf (45, 1975)\\par Decoyg (145, "
            "450)"));
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        s.window()->chooseGroup(2);
        QTextCursor digits(s.view()->document());
        digits.setPosition(int(s.view()->toPlainText().indexOf(QStringLiteral("45)"))) + 1);
        whenMenu([](QMenu *menu) {
            if (auto *item = menu->findChild<QAction *>(QStringLiteral("mnuCitingGenera")))
                item->trigger();
        });
        QTest::mouseClick(s.view()->viewport(), Qt::RightButton, {},
                          s.view()->cursorRect(digits).center());
        QTRY_VERIFY(s.search() && s.search()->isVisible());
        auto *field = s.searchChild<QLineEdit>("searchText");
        QCOMPARE(field->text(), QStringLiteral("ссылка 45"));
        // Every catalogue of the sample searched: seconds under a sanitizer
        // on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(s.countLine().startsWith(QStringLiteral("Найдено")) &&
                                     !s.countLine().endsWith(u'…'),
                                 30000);

        QStringList expected;
        for (const fosdat::data::Group &group : fosdat::data::GroupTable) {
            QFile file(s.data.path(group.catalogPath.toString().replace(u'\\', u'/')));
            QVERIFY(file.open(QIODevice::ReadOnly));
            expected << linesCiting(group.caption.toString(),
                                    fosdat::rtf::readText(file.readAll()).value_or(QString()), 45);
        }
        QCOMPARE(s.rows(), expected);
        QCOMPARE(expected.filter(QStringLiteral("Citer")).size(), 4);
        QVERIFY(expected.filter(QStringLiteral("Decoy")).isEmpty());
        QVERIFY(expected.size() > 10); // the generated catalogues cite it too

        QCOMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(field, "Citera");
        QTRY_COMPARE(s.countLine(), QStringLiteral("Найдено: 1 в 1 группе"));
        QCOMPARE(s.rows(), QStringList{"РАДИОЛЯРИИ: Citera K (Camp) (45)"});
    }

    // A catalogue far taller than one layout: a result anywhere in it,
    // opened from the search window or from the diversity window's genera
    // of a stage, is selected in the middle of the view, without a word.
    void resultAnywhereInATallCatalogue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromDiversity");
        QTest::newRow("the last line") << "Zyxlast" << false;
        QTest::newRow("the first line") << "Zyxfirst" << false;
        QTest::newRow("the last genus") << "Zyxlast" << true;
        QTest::newRow("the first genus") << "Zyxfirst" << true;
    }
    void resultAnywhereInATallCatalogue()
    {
        QFETCH(QString, text);
        QFETCH(bool, fromDiversity);
        Session s;
        // Paragraphs 44 inches tall: 1,000 of them are 4 million pixels.
        QVERIFY(s.data.writeCatalogue(QStringLiteral("RAD"),
                                      "\\sb31680\\sa31680 Zyxfirst K (Camp)\\par " +
                                          QByteArray("Filler\\par ").repeated(1000) +
                                          "Zyxlast K (Camp) (12)"));
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        if (fromDiversity)
            openFromDiversityWindow(s, text);
        else
            openFromSearchWindow(s, text);

        QTRY_COMPARE(s.window()->catalogPath().value_or(QString()), QStringLiteral("dat\\BD\\RAD"));
        QTRY_COMPARE(s.view()->textCursor().selectedText(), text);
        // The first line is shown at the top, above it is nothing.
        const int middle = s.view()->cursorRect().center().y();
        const int height = s.view()->viewport()->height();
        const int from = text == u"Zyxfirst" ? 0 : height / 3;
        QVERIFY2(middle > from && middle < height * 2 / 3, qPrintable(QString::number(middle)));
        QVERIFY(s.dialogs->messages.isEmpty());
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
        QTest::addColumn<QStringList>("partly"); // "CAPTION:CHARACTERS LEFT OUT"
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
            << QStringList{"РАДИОЛЯРИИ:12", "ЧЕРВИ:1234567"}
            << "Ничего не найдено\nГУБКИ: файл не прочитан\nРАДИОЛЯРИИ: файл слишком велик, "
               "поиск только в его начале (не прочитано знаков: 12)\nЧЕРВИ: файл слишком велик, "
               "поиск только в его начале (не прочитано знаков: 1\u00A0234\u00A0567)";
        QTest::newRow("one held in part")
            << int(Stage::Finished) << qsizetype(1) << 1 << 1 << none << QStringList{"ЧЕРВИ:1"}
            << "Найдено: 1 в 1 группе\nЧЕРВИ: файл слишком велик, поиск только в его начале "
               "(не прочитано знаков: 1)";
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
        for (const QString &cut : std::as_const(partly))
            count.cut.append({cut.section(u':', 0, 0), cut.section(u':', 1).toLongLong()});
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

    // A genus far down the catalogue, found with the find dialog's button and
    // again with F3, is shown in the middle third of the view.
    void findShowsTheMatchInTheMiddle()
    {
        Session s;
        QByteArray foram;
        for (int genus = 0; genus < 600; ++genus)
            foram += "Fillerus" + QByteArray::number(genus) + " K (Camp)\\par ";
        foram += "Zyxforamia J\\par ";
        for (int genus = 0; genus < 600; ++genus)
            foram += "Fillerus" + QByteArray::number(genus) + " K (Maas)\\par ";
        QVERIFY(s.data.writeCatalogue(QStringLiteral("FORAM"), foram + "Zyxforamia K"));
        s.window()->chooseGroup(0);
        QTRY_VERIFY(s.view()->toPlainText().endsWith(QStringLiteral("Zyxforamia K")));
        const QString text = s.view()->toPlainText();
        const auto inMiddleThird = [&s] {
            const int y = s.view()->cursorRect().center().y();
            const int height = s.view()->viewport()->height();
            return y > height / 3 && y < 2 * height / 3;
        };

        s.program->openFindDialog();
        QWidget *find = s.program->findDialog();
        QTest::keyClicks(find->findChild<QLineEdit *>("Text3"), "zyxforamia");
        auto *toolbar = find->findChild<QToolBar *>("Toolbar1");
        QTest::mouseClick(toolbar->widgetForAction(find->findChild<QAction *>("Button1")),
                          Qt::LeftButton);
        QTRY_COMPARE(s.view()->textCursor().selectionStart(),
                     text.indexOf(QStringLiteral("Zyxforamia")));
        QVERIFY(inMiddleThird());

        s.window()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), s.window());
        s.view()->setFocus();
        Session::press(QKeyCombination(Qt::Key_F3));
        QCOMPARE(s.view()->textCursor().selectionStart(),
                 text.lastIndexOf(QStringLiteral("Zyxforamia")));
        QVERIFY(inMiddleThird());
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
