#include "CatalogueSearch.h"

#include "GenusLine.h"
#include "ReferenceParser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QtConcurrent>
#include <atomic>

namespace fosdat
{

struct CatalogueSearch::Shared {
    explicit Shared(qsizetype indexBudget) : index(indexBudget) {}

    CatalogueIndex index;
    std::atomic<int> generation{0};
    // Released once the first results are on screen, or a newer search has begun.
    QSemaphore firstShown;
};

namespace
{

// The first delivery fills the list's first screen; later ones are larger,
// or as many as were found in a moment, so that thousands of matches take few
// trips to the window.
constexpr int FirstBatch = 40;
constexpr int LaterBatch = 4000;
constexpr int DeliveryInterval = 20; // ms
// The search waits this long at most for its first results to be painted, so
// that it does not take the processor from the window while they are.
constexpr int FirstScreenWait = 50; // ms
// Posted behind the window's paint of the first results.
const QEvent::Type FirstScreenShown = QEvent::Type(QEvent::User + 1);
// How many matches are found between two looks for a newer search.
constexpr int CancelCheckInterval = 1024;

using BatchSink = std::function<void(const QList<SearchResults> &, const SearchCount &)>;
using EndSink = std::function<void(const SearchCount &)>;

// One search over the index, run in the worker: every group in table order,
// every match of its text in order, each searched for from the end of the one
// before, as repeated finds in the view would go. The matches are handed over
// as soon as a screenful is found, then in few large deliveries.
class SearchJob
{
public:
    // `current` is the newest search's generation; `firstShown` is released
    // once this search's first results are on screen.
    SearchJob(CatalogueIndex &index, const std::atomic<int> &current, QSemaphore &firstShown,
              int generation, const SearchQuery &query, bool ranked, BatchSink found,
              EndSink finished)
        : m_index(index), m_current(current), m_firstShown(firstShown), m_generation(generation),
          m_query(query), m_matcher(queryMatcher(query)), m_ranked(ranked),
          m_found(std::move(found)), m_finished(std::move(finished))
    {
        m_count.stage = SearchCount::Stage::Searching;
        if (m_query.group >= 0)
            m_count.filter = captionOf(m_query.group);
        m_open.fill(-1);
    }

    void run(const QString &base)
    {
        if (cancelled())
            return;
        while (m_firstShown.tryAcquire()) {
        } // what earlier searches left
        m_index.refresh(base);
        m_count.unread = m_index.unreadCaptions();
        m_count.partlyRead = m_index.partlyReadCaptions();
        m_sinceDelivery.start();
        for (int group = 0; group < CatalogueIndex::GroupCount; ++group) {
            if (cancelled() || !searchGroup(group))
                return;
        }
        deliver();
        m_count.stage = SearchCount::Stage::Finished;
        m_finished(m_count);
    }

private:
    using Paragraph = CatalogueIndex::Paragraphs::Paragraph;

    static QString captionOf(int group)
    {
        return data::GroupTable[size_t(group)].caption.toString();
    }
    bool cancelled() const { return m_current.load(std::memory_order_relaxed) != m_generation; }

    bool searchGroup(int group)
    {
        CatalogueIndex::Scan scan(m_index, group, m_matcher);
        CatalogueIndex::Paragraphs paragraphs(m_index, group);
        m_group = group;
        m_groupMatches = 0;
        m_genusParagraph = -1;
        int cited = -1; // the last paragraph whose reference numbers were read
        qsizetype found = 0;
        for (qsizetype at = scan.next(); at >= 0; at = scan.next()) {
            if (!m_query.isCitingSearch()) {
                addMatch(paragraphs, at);
            } else if (const Paragraph &paragraph = paragraphs.at(at); paragraph.number != cited) {
                cited = paragraph.number;
                for (const data::ReferenceMention &mention :
                     data::findReferenceNumbers(paragraph.text)) {
                    if (mention.number == m_query.citedReference)
                        addMatch(paragraphs, paragraph.start + mention.position);
                }
            }
            if (++found % CancelCheckInterval == 0 && cancelled())
                return false;
        }
        if (deliveryDue())
            deliver();
        return true;
    }

    // Counts a match of the group searched, and lists it while the list has
    // room, when its group is listed.
    void addMatch(CatalogueIndex::Paragraphs &paragraphs, qsizetype at)
    {
        if (m_groupMatches++ == 0)
            ++m_count.groups;
        ++m_count.matches;
        if (m_query.group >= 0 && m_query.group != m_group)
            return;
        ++m_count.filtered;
        if (m_count.listed >= CatalogueSearch::ListedLimit)
            return;
        const Paragraph &paragraph = paragraphs.at(at);
        const int offset = int(at - paragraph.start);
        MatchRank rank = MatchRank::Elsewhere;
        if (m_ranked) {
            if (paragraph.number != m_genusParagraph) {
                m_genusParagraph = paragraph.number;
                m_genus = genusName(paragraph.text);
            }
            rank = rankOfMatch(m_genus, offset, m_matcher.length());
        }
        pendingBatch(rank).matches.append(
            {paragraph.text, offset, paragraph.number, m_ranked ? int(m_genus.end()) : 0});
        ++m_count.listed;
        ++m_pendingMatches;
        if (deliveryDue())
            deliver();
    }

    // The batch that the group's matches of `rank` go on in.
    SearchResults &pendingBatch(MatchRank rank)
    {
        int &open = m_open[size_t(rank)];
        if (open < 0 || m_pending.at(open).group != m_group) {
            open = int(m_pending.size());
            m_pending.append({m_group, captionOf(m_group), int(m_matcher.length()), {}, rank});
        }
        return m_pending[open];
    }

    bool deliveryDue() const
    {
        return m_pendingMatches >= (m_delivered == 0 ? FirstBatch : LaterBatch) ||
               (m_pendingMatches > 0 && m_sinceDelivery.elapsed() >= DeliveryInterval);
    }

    void deliver()
    {
        if (m_pending.isEmpty())
            return;
        m_found(m_pending, m_count);
        if (m_delivered == 0)
            m_firstShown.tryAcquire(1, FirstScreenWait);
        m_delivered += m_pendingMatches;
        m_pendingMatches = 0;
        m_pending.clear();
        m_open.fill(-1);
        m_sinceDelivery.restart();
    }

    CatalogueIndex &m_index;
    const std::atomic<int> &m_current;
    QSemaphore &m_firstShown;
    const int m_generation;
    const SearchQuery m_query;
    const TextMatcher m_matcher;
    const bool m_ranked;
    BatchSink m_found;
    EndSink m_finished;
    SearchCount m_count;
    QList<SearchResults> m_pending;
    std::array<int, MatchRankCount> m_open; // each rank's batch in m_pending, or -1
    qsizetype m_pendingMatches = 0;
    qsizetype m_delivered = 0;
    QElapsedTimer m_sinceDelivery;
    int m_group = 0;
    qsizetype m_groupMatches = 0;
    int m_genusParagraph = -1; // the paragraph whose genus m_genus is
    LineSpan m_genus;
};

} // namespace

TextMatcher queryMatcher(const SearchQuery &query)
{
    return query.isCitingSearch()
               ? TextMatcher(QString::number(query.citedReference), QTextDocument::FindWholeWords)
               : TextMatcher(query.text, query.flags);
}

CatalogueSearch::CatalogueSearch(QObject *parent, qsizetype indexBudget)
    : QObject(parent), m_shared(std::make_shared<Shared>(indexBudget))
{
    m_worker.setMaxThreadCount(1); // one job at a time has the index
}

CatalogueSearch::~CatalogueSearch()
{
    m_shared->generation.store(-1);
    m_shared->firstShown.release();
    m_worker.waitForDone();
}

void CatalogueSearch::prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    m_job = QtConcurrent::run(&m_worker, [this, shared = m_shared, base = QDir::currentPath()] {
        shared->index.refresh(base);
        QMetaObject::invokeMethod(this, [this] {
            m_indexReady = true;
            emit indexReady();
        });
    });
}

void CatalogueSearch::search(const SearchQuery &query)
{
    const int generation = ++m_generation;
    m_shared->generation.store(generation);
    m_shared->firstShown.release(); // a search waiting for its screen ends at once
    if (!query.isCitingSearch() && query.text.isEmpty()) {
        startDelivery(generation);
        emit countChanged(SearchCount());
        emit searchFinished();
        return;
    }
    prepare();
    if (!m_indexReady && startDelivery(generation)) {
        SearchCount reading;
        reading.stage = SearchCount::Stage::Reading;
        emit countChanged(reading);
    }
    BatchSink found = [this, generation](const QList<SearchResults> &batches,
                                         const SearchCount &count) {
        QMetaObject::invokeMethod(this, [=, this] { deliver(generation, batches, count); });
    };
    EndSink finished = [this, generation](const SearchCount &count) {
        QMetaObject::invokeMethod(this, [=, this] { finish(generation, count); });
    };
    SearchQuery checked = query;
    if (checked.group >= CatalogueIndex::GroupCount)
        checked.group = -1;
    m_job = QtConcurrent::run(&m_worker, [shared = m_shared, generation, checked, ranked = m_ranked,
                                          base = QDir::currentPath(), found, finished] {
        SearchJob(shared->index, shared->generation, shared->firstShown, generation, checked,
                  ranked, found, finished)
            .run(base);
    });
}

QFuture<QStringList> CatalogueSearch::texts()
{
    return QtConcurrent::run(&m_worker, [shared = m_shared, base = QDir::currentPath()] {
        shared->index.refresh(base);
        QStringList texts;
        for (int group = 0; group < CatalogueIndex::GroupCount; ++group)
            texts << shared->index.text(group);
        return texts;
    });
}

// Results stay in the window until the next search has something to show.
bool CatalogueSearch::startDelivery(int generation)
{
    if (m_delivered == generation)
        return false;
    m_delivered = generation;
    emit resultsReset();
    return true;
}

void CatalogueSearch::deliver(int generation, const QList<SearchResults> &batches,
                              const SearchCount &count)
{
    if (generation != m_generation)
        return;
    const bool first = m_shownFirst != generation;
    m_shownFirst = generation;
    startDelivery(generation);
    for (const SearchResults &batch : batches) {
        if (!batch.matches.isEmpty())
            emit resultsFound(batch);
    }
    emit countChanged(count);
    if (first)
        QCoreApplication::postEvent(this, new QEvent(FirstScreenShown), Qt::LowEventPriority);
}

void CatalogueSearch::customEvent(QEvent *event)
{
    if (event->type() == FirstScreenShown)
        m_shared->firstShown.release();
}

void CatalogueSearch::finish(int generation, const SearchCount &count)
{
    if (generation != m_generation)
        return;
    startDelivery(generation);
    emit countChanged(count);
    emit searchFinished();
}

} // namespace fosdat
