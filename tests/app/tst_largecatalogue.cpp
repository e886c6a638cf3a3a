// A catalogue of 30,000 real-shaped genera (about 5 MB, written by the sample
// generator) in place of ЦЕФАЛОПОДЫ1 in a copy of the sample data set, in the
// running program: every place in it is reached in the view, from the search
// window, with Ctrl+End and Ctrl+Home, page by page and with find and find
// next, each place shown with the right entry in sight; the reading mode
// keeps the entry at the top; Save writes all of it with its formats, asking
// nothing. Driven by key presses and clicks; what the view shows is read at
// points of its viewport and compared with the text fosdat-rtf2txt prints of
// the file and with the generator's own entries.
// Printing real-shaped catalogues, each genus once, is tst_print's.
#include "CatalogueView.h"
#include "DataFiles.h"
#include "FindDialog.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "Program.h"
#include "SampleTree.h"
#include "SearchCommands.h"
#include "SearchWindow.h"
#include "support/DataTree.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"
#include "support/RtfRuns.h"
#include "support/RunningProgram.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>

using namespace fosdat;

namespace
{

constexpr int Genera = 30'000;
const QString Caption = QStringLiteral("ЦЕФАЛОПОДЫ1");
const QString CataloguePath = QStringLiteral("dat/BD/CEPH1");
// Put into the first genus entry and the last, and nowhere else.
const QString Marker = QStringLiteral("Zyxmarkeria");
// How long a step may take under the sanitizers on a busy machine (a failing
// QTRY waits three times as long).
constexpr int Patience = 30'000;
// How long the view may take to answer a key.
constexpr int Step = 5'000;

int groupRow(const QString &caption)
{
    for (int row = 0; row < int(data::GroupTable.size()); ++row) {
        if (data::GroupTable[row].caption == caption)
            return row;
    }
    return -1;
}

// The running program, with what the view shows read at points of its viewport.
struct Session : RunningProgram {
    Session() { start(); }

    // The text of the paragraph the view shows at `point` of its viewport.
    QString lineAt(QPoint point) const { return view()->cursorForPosition(point).block().text(); }
    QString topLine() const { return lineAt({1, 1}); }
    QString bottomLine() const { return lineAt({1, view()->viewport()->height() - 2}); }
    QString selectedLine() const { return view()->textCursor().block().text(); }
    // In the middle third of the viewport, or above it with the view at
    // the catalogue's start (`first` its first line), as far as it scrolls.
    bool selectionInMiddleThird(const QString &first = QString()) const
    {
        const qreal y = view()->cursorRect().center().y();
        const qreal height = view()->viewport()->height();
        return (y > height / 3 || (topLine() == first && y > 0)) && y < 2 * height / 3;
    }
    bool loading() const
    {
        const auto *bar = view()->findChild<QProgressBar *>(QStringLiteral("loadingProgress"));
        return bar && bar->isVisible();
    }

    // A key press to the view, its window active.
    void press(QKeyCombination key) const
    {
        window()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window());
        view()->setFocus();
        QTest::keyClick(view(), key.key(), key.keyboardModifiers());
        // Whatever the key left for the event loop is done before the view is read.
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

// The rows of the search window as "CAPTION: line".
QStringList resultRows(const QListView &list)
{
    QStringList rows;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        rows << list.model()->index(row, 0).data().toString();
    return rows;
}

} // namespace

class TestLargeCatalogue : public QObject
{
    Q_OBJECT

    DataTree m_data;                 // the current directory
    QStringList m_lines;             // of the catalogue, as fosdat-rtf2txt prints them
    QHash<QString, int> m_lineIndex; // of each line that stands once
    QStringList m_genera;    // the entries' names with their marks, in the catalogue's order
    QList<int> m_entryLines; // the line of each genus entry, 0-based

    int lineIndex(const QString &line) const { return m_lineIndex.value(line, -1); }
    int lastEntryLine() const { return m_entryLines.last(); }

    // Types `genus` in the search window and opens its result in ЦЕФАЛОПОДЫ1
    // with Enter or a double click.
    void openFromSearchWindow(Session &s, const QString &genus, bool doubleClick)
    {
        s.press(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QVERIFY(s.search());
        QVERIFY(QTest::qWaitForWindowActive(s.search()));
        auto *field = s.search()->findChild<QLineEdit *>(QStringLiteral("searchText"));
        auto *count = s.search()->findChild<QLabel *>(QStringLiteral("countLine"));
        auto *list = s.search()->findChild<QListView *>(QStringLiteral("resultList"));
        QTest::keyClicks(field, genus);
        QTRY_VERIFY_WITH_TIMEOUT(count->text().startsWith(QStringLiteral("Найдено")) &&
                                     !count->text().contains(u'…'),
                                 Patience);
        const QStringList rows = resultRows(*list);
        const QString wanted = Caption + QStringLiteral(": ") + genus;
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const QString &r) {
            return r.startsWith(wanted) &&
                   (r.size() == wanted.size() || !r.at(wanted.size()).isLetter());
        });
        QVERIFY2(row != rows.end(), qPrintable(rows.join(u'\n')));
        const QModelIndex index = list->model()->index(int(row - rows.begin()), 0);
        if (doubleClick) {
            list->scrollTo(index);
            const QPoint at = list->visualRect(index).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            return;
        }
        for (int down = 0; down <= index.row(); ++down)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(list->currentIndex(), index);
        QTest::keyClick(list, Qt::Key_Return);
    }

    // Opens genus entry `entry` from the search window and waits until it is
    // selected, or a message comes instead.
    void openGenus(Session &s, int entry, bool doubleClick)
    {
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        openFromSearchWindow(s, m_genera[entry], doubleClick);
        if (QTest::currentTestFailed())
            return;
        // The checks below tell what came instead, if anything.
        (void)QTest::qWaitFor(
            [&] {
                return s.view()->textCursor().selectedText() == m_genera[entry] ||
                       !s.dialogs->messages.isEmpty();
            },
            Patience);
        QVERIFY2(s.dialogs->messages.isEmpty(), qPrintable(s.dialogs->messages.value(0).text));
        QCOMPARE(s.view()->textCursor().selectedText(), m_genera[entry]);
    }

    // Chooses ЦЕФАЛОПОДЫ1 and waits until the view shows its start.
    void chooseLargeGroup(Session &s) const
    {
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        s.window()->chooseGroup(groupRow(Caption));
        QTRY_VERIFY_WITH_TIMEOUT(!s.loading() && s.topLine() == m_lines.first(), Patience);
    }

    // The genus entry a line of the catalogue belongs to, or -1.
    int entryOfLine(int line) const
    {
        const auto after = std::upper_bound(m_entryLines.begin(), m_entryLines.end(), line);
        return after == m_entryLines.begin() ? -1 : int(after - m_entryLines.begin()) - 1;
    }

private slots:
    void initTestCase()
    {
        // A copy of the sample data set.
        const QString sample = QStringLiteral(FOSDAT_SAMPLE_DIR);
        QDirIterator files(sample + QStringLiteral("/dat"), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString from = files.next();
            QVERIFY(m_data.write(from.mid(sample.size() + 1), data::readRegularFile(from).value()));
        }
        // The generated catalogue, the marker after the first genus's name
        // and after the last one's.
        const sampledata::Catalogue content = sampledata::scaledCatalogueContent(Genera);
        QList<int> genusLines;
        QByteArray rtf =
            sampledata::writeCatalogue(content, sampledata::EntryFormatting::Rich, &genusLines);
        for (const sampledata::FamilyEntry &family : content.families) {
            for (const sampledata::GenusEntry &genus : family.genera)
                m_genera << genus.mark + genus.name;
        }
        const QByteArray first = content.families.first().genera.first().name.toLatin1();
        const QByteArray last = content.families.last().genera.last().name.toLatin1();
        const qsizetype lastAt = rtf.lastIndexOf(last);
        QVERIFY(lastAt > rtf.indexOf(first));
        rtf.insert(lastAt + last.size(), ' ' + Marker.toLatin1());
        rtf.insert(rtf.indexOf(first) + first.size(), ' ' + Marker.toLatin1());
        QVERIFY(m_data.write(CataloguePath, rtf));

        const QString printed =
            runTool(QStringLiteral(FOSDAT_RTF2TXT), {m_data.path(CataloguePath)});
        m_lines = printed.split(u'\n');
        if (m_lines.last().isEmpty())
            m_lines.removeLast();
        for (int line = 0; line < m_lines.size(); ++line)
            m_lineIndex[m_lines[line]] = m_lineIndex.contains(m_lines[line]) ? -1 : line;
        // Every line stands once, so a line the view shows tells where it is.
        QCOMPARE(m_lineIndex.size(), m_lines.size());
        for (const int line : std::as_const(genusLines))
            m_entryLines << line - 1;
        QCOMPARE(m_entryLines.size(), Genera);
        // The oracle itself: each entry's line starts with its genus, the
        // marker stands in the first entry and the last.
        for (int entry = 0; entry < Genera; ++entry)
            QVERIFY(m_lines.value(m_entryLines[entry]).startsWith(m_genera[entry]));
        QCOMPARE(printed.count(Marker), 2);
        QVERIFY(m_lines[m_entryLines.first()].contains(Marker));
        QVERIFY(m_lines[lastEntryLine()].contains(Marker));
    }

    // The genus opened is selected and shown in the middle of the view, its
    // entry's paragraph the one the catalogue has.
    void searchResultShownInTheMiddle_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("the last genus, Enter") << Genera - 1 << false;
        QTest::newRow("the last genus, double click") << Genera - 1 << true;
        QTest::newRow("a genus in the middle, Enter") << Genera / 2 << false;
    }
    void searchResultShownInTheMiddle()
    {
        QFETCH(int, entry);
        QFETCH(bool, doubleClick);
        Session s;
        openGenus(s, entry, doubleClick);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(s.window()->findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(),
                 Caption);
        QCOMPARE(s.selectedLine(), m_lines[m_entryLines[entry]]);
        QVERIFY2(s.selectionInMiddleThird(),
                 qPrintable(QString::number(s.view()->cursorRect().center().y())));
        QTRY_COMPARE(QApplication::focusWidget(), s.view());
    }

    // Jumps and pages: after each key, where the view stands in the
    // catalogue, and no line left out between two pages.
    void keysMoveThroughTheWholeCatalogue_data()
    {
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QString>(
            "end"); // "last": the last entry at the bottom; "first": the start
        const QKeyCombination end(Qt::CTRL | Qt::Key_End), home(Qt::CTRL | Qt::Key_Home);
        const QKeyCombination down(Qt::Key_PageDown), up(Qt::Key_PageUp);
        QTest::newRow("Ctrl+End") << QList{end} << "last";
        QTest::newRow("Ctrl+End, Ctrl+Home") << QList{end, home} << "first";
        QTest::newRow("Ctrl+End, Ctrl+Home, Ctrl+End") << QList{end, home, end} << "last";
        QTest::newRow("pages back from the end")
            << (QList{end} + QList<QKeyCombination>(40, up)) << "";
        QTest::newRow("pages from the start") << QList<QKeyCombination>(40, down) << "";
        QTest::newRow("pages to the end and past it")
            << (QList{end} + QList<QKeyCombination>(5, up) + QList<QKeyCombination>(8, down))
            << "last";
    }
    void keysMoveThroughTheWholeCatalogue()
    {
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QString, end);
        Session s;
        chooseLargeGroup(s);
        if (QTest::currentTestFailed())
            return;
        for (const QKeyCombination key : std::as_const(keys)) {
            const int topBefore = lineIndex(s.topLine());
            const int bottomBefore = lineIndex(s.bottomLine());
            s.press(key);
            const int top = lineIndex(s.topLine());
            const int bottom = lineIndex(s.bottomLine());
            QVERIFY2(top >= 0 && bottom >= top,
                     qPrintable(s.topLine() + QStringLiteral(" … ") + s.bottomLine()));
            if (key.key() == Qt::Key_PageDown && bottomBefore < m_lines.size() - 1) {
                QVERIFY2(top > topBefore && top <= bottomBefore + 1,
                         qPrintable(QStringLiteral("lines %1-%2, then %3-%4")
                                        .arg(topBefore)
                                        .arg(bottomBefore)
                                        .arg(top)
                                        .arg(bottom)));
            } else if (key.key() == Qt::Key_PageUp && topBefore > 0) {
                QVERIFY2(top < topBefore && bottom >= topBefore - 1,
                         qPrintable(QStringLiteral("lines %1-%2, then %3-%4")
                                        .arg(topBefore)
                                        .arg(bottomBefore)
                                        .arg(top)
                                        .arg(bottom)));
            }
        }
        if (end == u"last") {
            QTRY_COMPARE_WITH_TIMEOUT(s.bottomLine(), m_lines.last(), Step);
            QCOMPARE(entryOfLine(lineIndex(s.bottomLine())), Genera - 1);
        } else if (end == u"first") {
            QTRY_COMPARE_WITH_TIMEOUT(s.topLine(), m_lines.first(), Step);
        }
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // The find dialog's search from the start, then F3 or Shift+F3: each
    // match selected in the line the catalogue has it, in the middle third.
    void findReachesEveryMatch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QList<int>>("entries"); // of the match, after the find and each key
        const QKeyCombination next(Qt::Key_F3), previous(Qt::SHIFT | Qt::Key_F3);
        QTest::newRow("in the first entry and the last")
            << Marker << QList{next, next} << QList{0, Genera - 1, 0};
        QTest::newRow("back round the start to the last")
            << Marker.toLower() << QList{previous} << QList{0, Genera - 1};
        QTest::newRow("the last genus")
            << QString() << QList{next} << QList{Genera - 1, Genera - 1};
    }
    void findReachesEveryMatch()
    {
        QFETCH(QString, text);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QList<int>, entries);
        if (text.isEmpty())
            text = m_genera.last();
        Session s;
        chooseLargeGroup(s);
        if (QTest::currentTestFailed())
            return;
        s.program->openFindDialog();
        FindDialog *dialog = s.program->findDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("Text3")), text);
        auto *toolbar = dialog->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
        QString topBefore = s.topLine();
        QTest::mouseClick(
            toolbar->widgetForAction(dialog->findChild<QAction *>(QStringLiteral("Button1"))),
            Qt::LeftButton);
        for (qsizetype step = 0; step < entries.size(); ++step) {
            if (step > 0) {
                topBefore = s.topLine();
                s.press(keys[step - 1]);
            }
            // The checks below tell what came instead, if anything.
            (void)QTest::qWaitFor(
                [&] {
                    return s.selectedLine() == m_lines[m_entryLines[entries[step]]] ||
                           !s.dialogs->messages.isEmpty();
                },
                Step);
            QVERIFY2(s.dialogs->messages.isEmpty(), qPrintable(s.dialogs->messages.value(0).text));
            QCOMPARE(s.selectedLine(), m_lines[m_entryLines[entries[step]]]);
            QCOMPARE(s.view()->textCursor().selectedText().toLower(), text.toLower());
            // A match in sight may stay where it is; one brought into sight
            // stands in the middle.
            QVERIFY(s.view()->viewport()->rect().contains(s.view()->cursorRect()));
            if (s.topLine() != topBefore) {
                QVERIFY2(s.selectionInMiddleThird(m_lines.first()),
                         qPrintable(QString::number(s.view()->cursorRect().center().y())));
            }
        }
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // Scrolled into the catalogue: the same entry stays at the top through
    // the reading mode, in and out.
    void readingModeKeepsTheTopEntry_data()
    {
        QTest::addColumn<int>("entry"); // opened from the search window
        QTest::newRow("in the middle of the catalogue") << Genera / 2;
        QTest::newRow("among the first entries") << 300;
    }
    void readingModeKeepsTheTopEntry()
    {
        QFETCH(int, entry);
        Session s;
        openGenus(s, entry, false);
        if (QTest::currentTestFailed())
            return;
        for (int page = 0; page < 5; ++page)
            s.press(QKeyCombination(Qt::Key_PageDown));
        const QString top = s.topLine();
        const int shown = entryOfLine(lineIndex(top));
        QVERIFY2(shown > entry && shown < entry + 200, qPrintable(top));
        for (int toggle = 0; toggle < 2; ++toggle) {
            s.press(Qt::CTRL | Qt::SHIFT | Qt::Key_R);
            QCOMPARE(
                s.window()->findChild<QAction *>(QStringLiteral("mnuReadingMode"))->isChecked(),
                toggle == 0);
            QTRY_COMPARE(s.topLine(), top);
        }
    }

    // Save writes the catalogue shown whole: its text as fosdat-rtf2txt
    // prints the source's, and the same runs of formats; nothing is asked.
    void saveWritesTheWholeCatalogue_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("file");
        QTest::newRow("a sample group") << "ФОРАМИНИФЕРЫ"
                                        << "dat/BD/FORAM";
        QTest::newRow("30,000 genera") << Caption << CataloguePath;
    }
    void saveWritesTheWholeCatalogue()
    {
        QFETCH(QString, caption);
        QFETCH(QString, file);
        Session s;
        if (caption == Caption) {
            chooseLargeGroup(s);
            if (QTest::currentTestFailed())
                return;
        } else {
            s.window()->chooseGroup(groupRow(caption));
            QTRY_VERIFY(!s.loading());
        }
        const QString path = m_data.path(QStringLiteral("saved.txt"));
        QFile::remove(path);
        s.dialogs->answer = path;
        s.window()->findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
        QVERIFY(s.dialogs->questions.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 0, Patience);
        const QString source = runTool(QStringLiteral(FOSDAT_RTF2TXT), {m_data.path(file)});
        QTRY_COMPARE_WITH_TIMEOUT(runTool(QStringLiteral(FOSDAT_RTF2TXT), {path}), source,
                                  Patience);
        const QList<RtfRun> expected = rtfRuns(data::readRegularFile(m_data.path(file)).value());
        const QList<RtfRun> saved = rtfRuns(data::readRegularFile(path).value());
        const auto [mismatch, _] =
            std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end());
        QVERIFY2(saved == expected,
                 qPrintable(QStringLiteral("run %1 of %2: «%3»")
                                .arg(mismatch - saved.begin())
                                .arg(expected.size())
                                .arg(mismatch == saved.end() ? QString() : mismatch->text)));
        QVERIFY(s.dialogs->messages.isEmpty());
    }
};

QTEST_MAIN(TestLargeCatalogue)
#include "tst_largecatalogue.moc"
