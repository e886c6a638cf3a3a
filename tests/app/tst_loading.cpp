// Loading catalogues into the window: files of the data set's size at once,
// before the OK action returns; larger ones on a worker thread while the view
// shows their beginning, the newest load winning. The size that divides the
// two is lowered here, so that small files on disk take the worker's path.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "LayoutPacer.h"
#include "RtfText.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QAction>
#include <QComboBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QThreadPool>

namespace
{

struct Window {
    RecordingSoundCue sound;
    RecordingDialogs dialogs;
    Fosdat fosdat{sound, dialogs};
    QSignalSpy shown{&fosdat.catalogueLoader(), &CatalogueLoader::documentShown};

    explicit Window(qint64 threshold = CatalogueLoader::DefaultBackgroundThreshold)
    {
        fosdat.catalogueLoader().setBackgroundThreshold(threshold);
    }

    QString viewText() const { return fosdat.catalogueView()->catalogue().text; }
    bool busy() const
    {
        const auto *bar = fosdat.findChild<QProgressBar *>(QStringLiteral("loadingProgress"));
        const bool waitCursor =
            fosdat.catalogueView()->viewport()->cursor().shape() == Qt::WaitCursor;
        return fosdat.catalogueLoader().isLoading() && bar && bar->isVisibleTo(&fosdat) &&
               waitCursor;
    }
    void choose(const QString &caption)
    {
        auto *combo = fosdat.findChild<QComboBox *>(QStringLiteral("Combo1"));
        const int index = combo->findText(caption);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // Until every worker has ended and what they handed over has arrived.
    void settle()
    {
        QTRY_VERIFY(!fosdat.catalogueLoader().isLoading());
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
};

// Keeps every worker of the global pool waiting until released, so that a
// background load asked for meanwhile has not begun to read its file: what
// the test does to the file then happens before the reading, however the
// threads are scheduled.
class WorkersHeld
{
public:
    WorkersHeld() : m_workers(QThreadPool::globalInstance()->maxThreadCount())
    {
        for (int worker = 0; worker < m_workers; ++worker)
            QThreadPool::globalInstance()->start([this] {
                m_waiting.release();
                m_released.acquire();
            });
        m_waiting.acquire(m_workers);
    }
    ~WorkersHeld() { release(); }
    void release() { m_released.release(std::exchange(m_workers, 0)); }

private:
    int m_workers;
    QSemaphore m_waiting;
    QSemaphore m_released;
};

const QString Foram = QStringLiteral("ФОРАМИНИФЕРЫ");
const QString Sponge = QStringLiteral("ГУБКИ");
const QString Ceph = QStringLiteral("ЦЕФАЛОПОДЫ1");

// A catalogue of about `kilobytes` whose text is `name` repeated, a hundred
// times a paragraph; `paragraphEnd` is "\\par " in the file, "\n" as shown.
QByteArray catalogueText(const QByteArray &name, int kilobytes,
                         const QByteArray &paragraphEnd = "\\par ")
{
    const QByteArray paragraph = (name + ' ').repeated(100).trimmed();
    const int paragraphs = kilobytes * 1024 / (paragraph.size() + 1);
    return (paragraph + paragraphEnd).repeated(paragraphs).chopped(paragraphEnd.size());
}

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

    std::unique_ptr<DataTree> m_data;

private slots:
    void init()
    {
        m_data = std::make_unique<DataTree>();
        QVERIFY(m_data->writeCatalogue("FORAM", "FORAM catalogue"));
        QVERIFY(m_data->writeCatalogue("SPONGE", catalogueText("SPONGE", 200)));
        QVERIFY(m_data->writeCatalogue("CEPH1", "CEPH1 catalogue"));
    }
    void cleanup() { m_data.reset(); }

    void loadsAtOnceOrInTheBackground_data()
    {
        QTest::addColumn<qint64>("threshold"); // 0: the size of the SPONGE file
        QTest::addColumn<bool>("background");
        QTest::newRow("the data set's size")
            << CatalogueLoader::DefaultBackgroundThreshold << false;
        QTest::newRow("as large as the threshold") << qint64(0) << false;
        QTest::newRow("larger than the threshold") << qint64(-1) << true;
    }
    void loadsAtOnceOrInTheBackground()
    {
        QFETCH(qint64, threshold);
        QFETCH(bool, background);
        const qint64 size = QFileInfo(m_data->path("dat/BD/SPONGE")).size();
        Window w(threshold > 0 ? threshold : size + threshold);
        w.fosdat.loadStartupContent();
        QCOMPARE(w.viewText(), QStringLiteral("FORAM catalogue"));

        const Qt::CursorShape cursor = w.fosdat.catalogueView()->viewport()->cursor().shape();
        w.choose(Sponge);
        const QString sponge = QString::fromLatin1(catalogueText("SPONGE", 200, "\n"));
        QCOMPARE(w.busy(), background);
        if (background) { // whole paragraphs of its beginning, while the rest is read
            QVERIFY(w.viewText().size() < sponge.size());
            QVERIFY(sponge.startsWith(w.viewText() + u'\n'));
        } else {
            QCOMPARE(w.viewText(), sponge);
        }
        w.settle();
        QCOMPARE(w.viewText(), sponge);
        QVERIFY(!w.busy());
        QCOMPARE(w.fosdat.catalogueView()->viewport()->cursor().shape(), cursor);
        QCOMPARE(w.shown.count(), 2); // the first group once at start-up, then SPONGE
    }

    // Groups chosen one after the other, faster than the loads end: only the
    // last choice is shown, whatever became of the others.
    void newestLoadWins_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("documentsShown"); // after the start-up's
        const QString ceph = QStringLiteral("CEPH1 catalogue");
        QTest::newRow("background, then background") << QStringList{Sponge, Ceph} << ceph << 1;
        QTest::newRow("background, then at once")
            << QStringList{Sponge, Foram} << QStringLiteral("FORAM catalogue") << 1;
        QTest::newRow("background, then unreadable")
            << QStringList{Sponge, QStringLiteral("РАДИОЛЯРИИ")}
            << QStringLiteral("FORAM catalogue") << 0;
        QTest::newRow("three in a row")
            << QStringList{Sponge, Ceph, Sponge}
            << QString::fromLatin1(catalogueText("SPONGE", 200, "\n")) << 1;
    }
    void newestLoadWins()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, shown);
        QFETCH(int, documentsShown);
        Window w(1024); // SPONGE and the large CEPH1 load in the background
        QVERIFY(m_data->writeCatalogue("CEPH1", "CEPH1 catalogue " + QByteArray(1 << 20, ' ')));
        w.fosdat.loadStartupContent();
        w.shown.clear();

        for (const QString &caption : std::as_const(chosen))
            w.choose(caption);
        w.settle();
        QCOMPARE(w.viewText().trimmed(), shown);
        QCOMPARE(w.shown.count(), documentsShown);
        QVERIFY(!w.busy());
    }

    void startupLoadsItsCatalogueOnce()
    {
        QVERIFY(m_data->writeCatalogue("FORAM", catalogueText("FORAM", 300)));
        Window w(1024);
        w.fosdat.loadStartupContent(); // the first group twice, the first load superseded
        QVERIFY(w.busy());
        w.settle();
        QCOMPARE(w.viewText(), QString::fromLatin1(catalogueText("FORAM", 300, "\n")));
        QCOMPARE(w.shown.count(), 1);
    }

    // What is saved while a catalogue's beginning shows is the whole of it,
    // once read; a load that fails leaves the catalogue shown before, whole.
    void saveDuringLoadWaitsForTheWhole_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("read whole") << true;
        QTest::newRow("gone while read") << false;
    }
    void saveDuringLoadWaitsForTheWhole()
    {
        QFETCH(bool, readable);
        Window w(1024);
        w.fosdat.loadStartupContent();
        w.settle();
        WorkersHeld held;
        w.choose(Sponge);
        QVERIFY(w.busy());
        QVERIFY(w.viewText().startsWith(u"SPONGE"));
        if (!readable)
            QVERIFY(QFile::remove(m_data->path("dat/BD/SPONGE")));
        w.dialogs.answer = m_data->path("saved.txt");
        w.fosdat.findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
        QVERIFY(w.dialogs.saveRequests.isEmpty());
        held.release();
        w.settle();
        QCOMPARE(w.dialogs.saveRequests.size(), 1);
        QFile saved(*w.dialogs.answer);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString text = *fosdat::rtf::readText(saved.readAll());
        const QString sponge = QString::fromLatin1(catalogueText("SPONGE", 200, "\n"));
        QCOMPARE(text.trimmed(), readable ? sponge : QStringLiteral("FORAM catalogue"));
        QCOMPARE(w.viewText().trimmed(), text.trimmed());
    }

    // The whole takes the beginning's place where the view has gone in it:
    // the same line at the top, the same selection.
    void wholeKeepsThePlaceInTheBeginning()
    {
        QByteArray genera;
        for (int genus = 0; genus < 20'000; ++genus)
            genera += "Genus" + QByteArray::number(genus) + " K (Camp) (12, 345)\\par ";
        QVERIFY(m_data->writeCatalogue("SPONGE", genera));
        Window w(1024);
        w.fosdat.loadStartupContent();
        w.fosdat.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.fosdat));
        CatalogueView *view = w.fosdat.catalogueView();
        w.choose(Sponge);
        QVERIFY(w.busy());
        const int begun = int(view->catalogue().paragraphs.size());
        QVERIFY(begun > 100 && begun < 20'000);
        QTest::keyClick(view, Qt::Key_PageDown);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        const CataloguePlace top = view->topPlace();
        const fosdat::TextMatch selected = view->selection();
        QVERIFY(top.paragraph > 0);
        QVERIFY(selected.end > selected.start);
        w.settle();
        const int count = int(view->catalogue().paragraphs.size());
        QVERIFY(count > 20'000);
        QCOMPARE(view->topPlace(), top);
        QCOMPARE(view->selection().start, selected.start);
        QCOMPARE(view->selection().end, selected.end);
        // It goes on past the beginning's end, and the scroll bar stands for all of it.
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view->firstParagraph() + view->textCursor().blockNumber(), count - 1);
        QTRY_VERIFY(view->viewport()->rect().contains(view->cursorRect().center()));
        const auto *bar = view->findChild<QScrollBar *>(QStringLiteral("catalogueScrollBar"));
        QCOMPARE(bar->maximum(), count - 1);
    }

    // The window may go while a worker still reads for it.
    void windowClosedDuringLoad()
    {
        auto w = std::make_unique<Window>(1024);
        w->fosdat.loadStartupContent();
        w->choose(Sponge);
        QVERIFY(w->busy());
        w.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }

    // The layout of the part shown goes on in slices after the load, to its
    // last paragraph, and the catalogue's scroll bar stands for every paragraph.
    void layoutReachesTheEnd_data()
    {
        QTest::addColumn<qint64>("threshold");
        QTest::newRow("loaded at once") << CatalogueLoader::DefaultBackgroundThreshold;
        QTest::newRow("loaded in the background") << qint64(1024);
    }
    void layoutReachesTheEnd()
    {
        QFETCH(qint64, threshold);
        QByteArray genera;
        for (int genus = 0; genus < 20'000; ++genus)
            genera += "Genus" + QByteArray::number(genus) + " K (Camp) (12, 345)\\par ";
        QVERIFY(m_data->writeCatalogue("SPONGE", genera));
        Window w(threshold);
        w.fosdat.loadStartupContent();
        w.fosdat.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.fosdat));
        w.choose(Sponge);
        const CatalogueView *view = w.fosdat.catalogueView();
        QTRY_VERIFY_WITH_TIMEOUT(view->catalogue().paragraphs.size() > 20'000 &&
                                     view->document()->lastBlock().layout()->lineCount() > 0,
                                 30'000);
        const auto *bar = view->findChild<QScrollBar *>(QStringLiteral("catalogueScrollBar"));
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->maximum(), view->catalogue().paragraphs.size() - 1);
        // In slices of the pacer's, in place of Qt's own layout steps.
        QVERIFY(LayoutPacer::stepsTaken(*view->document()) > 0);
    }

    // Laid out at its real width before the window first shows it, the first
    // catalogue is no taller than it will be on screen.
    void viewHasItsSizeBeforeAnythingIsLoaded()
    {
        QVERIFY(m_data->writeCatalogue("FORAM", catalogueText("FORAM", 300)));
        Window w;
        const CatalogueView *view = w.fosdat.catalogueView();
        const QRect contents = view->viewport()->geometry();
        w.fosdat.loadStartupContent();
        w.fosdat.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.fosdat));
        // Only the vertical scroll bar, which the long catalogue needs, takes its part.
        const int scrollBar = view->verticalScrollBar()->width();
        QCOMPARE(contents.adjusted(0, 0, -scrollBar, 0), view->viewport()->geometry());
        QCOMPARE(view->document()->pageSize().width(), qreal(contents.width() - scrollBar));
    }
};

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
