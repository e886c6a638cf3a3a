// The search waits for the window to paint its first results before it goes
// on (CatalogueSearch::deliver()): the event that lets it go on is posted
// behind the paint that those results ask for, which Qt posts at a low
// priority. Checked on the real search and window, offscreen: the list has
// painted the first results when the search is let go. Fails when a Qt posts
// its paints otherwise.
#include "CatalogueSearch.h"
#include "SearchWindow.h"
#include "support/DataTree.h"

#include <QApplication>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

using namespace fosdat;
using namespace Qt::StringLiterals;

namespace
{

// What came, in order: "results", "paint" of the list, "shown" to the search.
class Order : public QObject
{
public:
    Order(const QObject *search, const QWidget *list) : m_search(search), m_list(list)
    {
        qApp->installEventFilter(this);
    }
    ~Order() override { qApp->removeEventFilter(this); }

    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_list && event->type() == QEvent::Paint)
            seen << u"paint"_s;
        else if (watched == m_search && event->type() == CatalogueSearch::FirstScreenShown)
            seen << u"shown"_s;
        return false;
    }

private:
    const QObject *m_search;
    const QWidget *m_list;
};

} // namespace

class TestFirstScreen : public QObject
{
    Q_OBJECT

private slots:
    void paintedBeforeTheSearchGoesOn_data()
    {
        QTest::addColumn<int>("lines"); // of the catalogue that matches
        QTest::newRow("one delivery") << 3;
        QTest::newRow("a first screen, then more") << 5000;
    }
    void paintedBeforeTheSearchGoesOn()
    {
        QFETCH(int, lines);
        DataTree tree;
        QByteArray body;
        for (int line = 0; line < lines; ++line)
            body += "Zyxia K (Camp) (" + QByteArray::number(line % 1000 + 1) + ")\\par ";
        QVERIFY(tree.writeCatalogue(u"FORAM"_s, body));

        CatalogueSearch search;
        SearchWindow window;
        connect(&search, &CatalogueSearch::resultsReset, &window, &SearchWindow::clearResults);
        connect(&search, &CatalogueSearch::resultsFound, &window, &SearchWindow::addResults);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *list = window.findChild<QListView *>(u"resultList"_s);
        Order order(&search, list->viewport());
        connect(&search, &CatalogueSearch::resultsFound, &window,
                [&order] { order.seen << u"results"_s; });
        QSignalSpy finished(&search, &CatalogueSearch::searchFinished);
        search.search(u"zyxia"_s, {});
        QVERIFY(finished.wait(20'000));
        QTRY_VERIFY(order.seen.contains(u"shown"_s));
        const qsizetype results = order.seen.indexOf(u"results"_s);
        const qsizetype shown = order.seen.indexOf(u"shown"_s);
        QVERIFY2(results >= 0 && order.seen.indexOf(u"paint"_s, results) > results &&
                     order.seen.indexOf(u"paint"_s, results) < shown,
                 qPrintable(order.seen.join(u' ')));
    }
};

QTEST_MAIN(TestFirstScreen)
#include "tst_firstscreen.moc"
