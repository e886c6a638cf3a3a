// Printing the shown catalogue: "Экспорт в PDF..." writes a file on disk whose
// text poppler's tools read back, page by page; Ctrl+P opens the print
// preview of the same pages, made on a worker while the window answers, and
// prints from it. Driven through the window's menu and keys, with catalogues
// written to a scratch data set, the real-shaped ones by the sample generator.
#include "CatalogueLoader.h"
#include "PdfExport.h"
#include "RtfWriter.h"
#include "SampleTree.h"
#include "support/PdfTools.h"
#include "support/RtfPicture.h"
#include "support/WindowSession.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace
{

// Longer than the view's 361 px, shorter than a page's width.
const QByteArray WideLine = "Opening words of a note that a page prints on one line but the "
                            "view wraps, closing words";

QString genus(int index)
{
    return QStringLiteral("Testgenus%1").arg(index, 4, 10, QLatin1Char('0'));
}

// A note in italics, a picture, then `genera` entries: the name in bold, the
// range and the references in columns at tab stops.
QByteArray catalogue(int genera)
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}"
        "\\pard\\f0\\fs20 {\\i " +
        WideLine + "}\\par\n" + rtfPicture() + "\\par\n";
    for (int index = 1; index <= genera; ++index) {
        rtf += "\\pard\\tx2835\\tx5670{\\b " + genus(index).toLatin1() + "}\\tab K (Camp)\\tab (" +
               QByteArray::number(index % 1200 + 1) + ")\\par\n";
    }
    return rtf + "}";
}

// `genera` entries of a catalogue as the sample generator writes a real-shaped
// one: some entries of two lines, with synonyms and remarks.
QByteArray richCatalogue(int genera)
{
    return fosdat::sampledata::scaledCatalogue(genera, fosdat::sampledata::EntryFormatting::Rich);
}

struct Session : WindowSession {
    explicit Session(int genera) : Session(catalogue(genera)) {}
    explicit Session(const QByteArray &foram)
        : WindowSession({{"dat/BD/REFS1.txt", "1. A\r\n"}, {"dat/BD/FORAM", foram}})
    {
        QTRY_VERIFY_WITH_TIMEOUT(!window->catalogueLoader().isLoading(), 60000);
    }

    QAction *action(const char *name) const { return window->findChild<QAction *>(name); }

    // Exports through the menu into `path`, the dialog answered with it;
    // true when the export reports that it wrote the file.
    bool exportPdf(const QString &path)
    {
        QSignalSpy done(window->findChild<PdfExport *>(), &PdfExport::finished);
        dialogs.answer = path;
        action("mnuExportPdf")->trigger();
        return done.wait(30000) && done[0][1].toBool();
    }
};

// Runs `step` every few milliseconds until it returns true, also inside the
// event loops of a modal dialog and of a print run waiting for its worker.
class Poll
{
public:
    explicit Poll(std::function<bool()> step)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, step] {
            if (step())
                m_timer.stop();
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

template <typename T> T *shown(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(widget);
            found && found->isVisible() && found->objectName() == QLatin1String(name))
            return found;
    }
    return nullptr;
}

// How many times each word stands in `text`; a capital begins a word, as
// pdftotext runs a name into a range that a tab stop puts right after it.
QHash<QString, int> wordCounts(const QString &text)
{
    QHash<QString, int> counts;
    static const QRegularExpression word(QStringLiteral("\\p{Lu}?\\p{Ll}+"));
    for (const QRegularExpressionMatch &match : word.globalMatch(text))
        ++counts[match.captured()];
    return counts;
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdftotext", "pdfinfo", "pdffonts", "pdfimages"}) {
            QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                     "poppler-utils is missing: tools/deps.sh test installs it");
        }
    }

    // Every genus once, on pages that each carry the caption and their
    // number, as many as the catalogue needs at about 60 lines a page.
    void pdfHoldsTheCatalogue_data()
    {
        QTest::addColumn<int>("genera");
        QTest::addColumn<int>("fewestPages");
        QTest::addColumn<int>("mostPages");
        QTest::newRow("one page") << 3 << 1 << 1;
        QTest::newRow("many pages") << 400 << 5 << 10;
    }
    void pdfHoldsTheCatalogue()
    {
        QFETCH(int, genera);
        QFETCH(int, fewestPages);
        QFETCH(int, mostPages);
        Session s(genera);
        const QByteArray shownBefore = fosdat::rtf::write(*s.view()->document());
        const qreal viewHeight = s.view()->document()->size().height();
        const QString path = s.data.path(QStringLiteral("out/ФОРАМ.pdf"));
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(s.exportPdf(path));
        QCOMPARE(s.dialogs.saveRequests.size(), 1);
        QCOMPARE(s.dialogs.saveRequests[0].proposed, QStringLiteral("ФОРАМИНИФЕРЫ.pdf"));

        const int pages = pdfPages(path);
        QVERIFY2(pages >= fewestPages && pages <= mostPages, qPrintable(QString::number(pages)));
        const QStringList pageTexts =
            runTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).split(u'\f');
        QCOMPARE(pageTexts.size(), pages + 1); // a form feed ends each page
        QString all;
        for (int page = 0; page < pages; ++page) {
            const QString &text = pageTexts[page];
            QVERIFY2(text.trimmed().startsWith(QStringLiteral("ФОРАМИНИФЕРЫ")), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages)),
                     qPrintable(text));
            all += text;
        }
        // Nothing lost or printed twice where a page ends.
        for (int index = 1; index <= genera; ++index)
            QCOMPARE(all.count(genus(index)), 1);
        QVERIFY(pageTexts[pages - 1].contains(genus(genera)));
        // The page's width decides the lines: the note is one line there.
        QVERIFY2(all.contains(QString::fromLatin1(WideLine)), qPrintable(all.left(400)));
        // The view's own document is neither changed nor laid out again.
        QCOMPARE(fosdat::rtf::write(*s.view()->document()), shownBefore);
        QCOMPARE(s.view()->document()->size().height(), viewHeight);
    }

    // Bold and italic fonts, the picture, and the columns of the tab stops.
    void pdfKeepsTheFormats()
    {
        Session s(40);
        const QString path = s.data.path(QStringLiteral("formats.pdf"));
        QVERIFY(s.exportPdf(path));
        const QString fonts = runTool(QStringLiteral("pdffonts"), {path});
        QVERIFY2(fonts.contains(QStringLiteral("Bold")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("Italic")), qPrintable(fonts));
        // Two heading lines, one image, the final line end.
        QCOMPARE(runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).count(u'\n'),
                 3);
        // Names of one length or another, the range starts in one column.
        const QString layout = runTool(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QSet<qsizetype> columns;
        for (const QString &line : layout.split(u'\n')) {
            if (line.contains(u"Testgenus"))
                columns << line.indexOf(u"K (Camp)") - line.indexOf(u"Testgenus");
        }
        QCOMPARE(columns.size(), 1);
        QVERIFY(*columns.begin() > genus(1).size() + 4);
    }

    // A file that cannot be written is reported and nothing else changes;
    // an export goes on to its end when the window closes meanwhile.
    void failedAndAbandonedExports()
    {
        Session s(20);
        QVERIFY(!s.exportPdf(s.data.path(QStringLiteral("missing/folder/a.pdf"))));
        QCOMPARE(s.dialogs.messages.size(), 1);
        QVERIFY2(s.dialogs.messages[0].text.startsWith(QStringLiteral("Не удалось записать PDF")),
                 qPrintable(s.dialogs.messages[0].text));

        const QString path = s.data.path(QStringLiteral("closed.pdf"));
        s.dialogs.answer = path;
        s.action("mnuExportPdf")->trigger();
        s.window.reset();
        QTRY_VERIFY_WITH_TIMEOUT(pdfPages(path) == 1, 30000);
    }

    // Every genus of a real-shaped catalogue stands in the text of the pages
    // as often as in the catalogue's own text (fosdat-rtf2txt's), wherever
    // the pages break: in an exported PDF, and printed from the preview.
    void eachGenusOnce_data()
    {
        QTest::addColumn<int>("genera");
        QTest::addColumn<bool>("fromPreview");
        QTest::newRow("exported, 1,000 genera") << 1000 << false;
        QTest::newRow("printed, 1,000 genera") << 1000 << true;
        QTest::newRow("exported, 3,000 genera") << 3000 << false;
    }
    void eachGenusOnce()
    {
        QFETCH(int, genera);
        QFETCH(bool, fromPreview);
        Session s(richCatalogue(genera));
        const QString path = s.data.path(QStringLiteral("genera.pdf"));
        if (fromPreview) {
            // The preview's printer, set to write a file, prints its pages.
            Poll print([&] {
                auto *preview = shown<QPrintPreviewDialog>("printPreview");
                if (!preview || preview->findChild<QPrintPreviewWidget *>()->pageCount() == 0)
                    return false;
                preview->printer()->setOutputFileName(path);
                preview->findChild<QPrintPreviewWidget *>()->print();
                preview->accept();
                return true;
            });
            s.window->activateWindow(); // after the export's progress, if it showed
            QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
            QTest::keyClick(s.view(), Qt::Key_P, Qt::ControlModifier);
        } else {
            QVERIFY(s.exportPdf(path));
        }
        QVERIFY(pdfPages(path) > genera / 100); // many pages, breaks between entries
        const QHash<QString, int> printed =
            wordCounts(runTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}));
        const QHash<QString, int> catalogue = wordCounts(
            runTool(QStringLiteral(FOSDAT_RTF2TXT), {s.data.path(QStringLiteral("dat/BD/FORAM"))}));
        for (const auto &family : fosdat::sampledata::scaledCatalogueContent(genera).families) {
            for (const auto &entry : family.genera) {
                QVERIFY2(catalogue.value(entry.name) > 0, qPrintable(entry.name));
                QVERIFY2(printed.value(entry.name) == catalogue.value(entry.name),
                         qPrintable(QStringLiteral("%1: %2 times, in the catalogue %3")
                                        .arg(entry.name)
                                        .arg(printed.value(entry.name))
                                        .arg(catalogue.value(entry.name))));
            }
        }
    }

    // Ctrl+P makes the pages on a worker: the window answers meanwhile and
    // shows how far it has come. Let run, the preview shows the pages of the
    // PDF export; "Остановить" ends it without a preview or a message; a
    // catalogue gone from the disk is reported.
    void previewWhileTheWindowAnswers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("let run") << "run";
        QTest::newRow("Остановить") << "stop";
        QTest::newRow("file gone since it was shown") << "remove";
    }
    void previewWhileTheWindowAnswers()
    {
        QFETCH(QString, action);
        Session s(richCatalogue(3000));
        const QString path = s.data.path(QStringLiteral("preview.pdf"));
        QVERIFY(s.exportPdf(path));
        if (action == u"remove")
            QVERIFY(QFile::remove(s.data.path(QStringLiteral("dat/BD/FORAM"))));
        int ticksWhileShown = 0;
        bool progressSeen = false;
        int previewPages = -1;
        QString title;
        Poll watch([&] {
            if (auto *progress = shown<QProgressDialog>("printProgress")) {
                progressSeen = true;
                if (++ticksWhileShown == 3 && action == u"stop")
                    QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
            }
            auto *preview = shown<QPrintPreviewDialog>("printPreview");
            if (!preview || preview->findChild<QPrintPreviewWidget *>()->pageCount() == 0)
                return false;
            title = preview->windowTitle();
            previewPages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
            preview->reject();
            return true;
        });
        s.window->activateWindow(); // after the export's progress, if it showed
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        QTest::keyClick(s.view(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!shown<QPrintPreviewDialog>("printPreview"));
        QVERIFY(!shown<QProgressDialog>("printProgress"));
        if (action != u"stop") { // what is shown prints, its file there or not
            QCOMPARE(title, QStringLiteral("Печать: ФОРАМИНИФЕРЫ"));
            QCOMPARE(previewPages, pdfPages(path));
            QVERIFY(s.dialogs.messages.isEmpty());
        } else if (action == u"stop") {
            QVERIFY(progressSeen);
            // The window answered while the run went on; how soon the worker
            // notices the stop depends on how busy the machine is.
            QVERIFY(ticksWhileShown >= 3);
            QCOMPARE(previewPages, -1);
            QVERIFY(s.dialogs.messages.isEmpty());
        }
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
