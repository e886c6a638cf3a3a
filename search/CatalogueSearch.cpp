#include "CatalogueSearch.h"

#include "ReferenceParser.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSemaphore>
#include <atomic>

namespace fosdat
{

struct CatalogueSearch::Shared {
    CatalogueIndex index; // used in the model's worker only
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
// How many matches are found between two looks for a newer search.
constexpr int CancelCheckInterval = 1024;

using BatchSink = std::function<void(const QList<SearchResults> &, const SearchCount &)>;
using EndSink = std::function<void(const SearchCount &)>;

QString captionOf(int group)
{
    return catalogue::captionOf(group);
}

// How a match stands to the genus of the entry that holds it: the genus's
// whole name, the start of it, or anywhere else.
MatchRank rankOfMatch(qsizetype genus, qsizetype genusLength, qsizetype at, qsizetype length)
{
    if (genus < 0 || at != genus || length > genusLength)
        return MatchRank::Elsewhere;
    return length == genusLength ? MatchRank::WholeName : MatchRank::NameStart;
}

// The matcher that finds a query's text, or the digits of the reference
// number it asks for as a whole word.
TextMatcher queryMatcher(const SearchQuery &query)
{
    return query.isCitingSearch()
               ? TextMatcher(QString::number(query.citedReference), QTextDocument::FindWholeWords)
               : TextMatcher(query.text, query.flags);
}

// One search over the index, run in the model's worker: every group in table
// order, every match of its text in order, each searched for from the end of
// the one before, as repeated finds in the view would go. The matches are
// handed over as soon as a screenful is found, then in few large deliveries.
class SearchJob
{
public:
    struct Context {
        catalogue::CatalogueModel &model;
        CatalogueIndex &index;
        const std::atomic<int> &current; // the newest search's generation
        QSemaphore &firstShown;          // released once the first results are on screen
    };

    SearchJob(Context context, int generation, const SearchQuery &query,
              std::shared_ptr<const TextMatcher> matcher, bool ranked, BatchSink found,
              EndSink finished)
        : m_context(context), m_generation(generation), m_query(query),
          m_matcher(std::move(matcher)), m_ranked(ranked), m_found(std::move(found)),
          m_finished(std::move(finished))
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
        while (m_context.firstShown.tryAcquire()) {
        } // what earlier searches left
        readCatalogues(base);
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

    bool cancelled() const
    {
        return m_context.current.load(std::memory_order_relaxed) != m_generation;
    }

    void readCatalogues(const QString &base)
    {
        const catalogue::CataloguesPtr catalogues = m_context.model.refresh(base);
        m_entries = m_context.model.entries(catalogues);
        m_context.index.update(catalogues);
        for (int group : catalogues->unread())
            m_count.unread << captionOf(group);
        for (int group : catalogues->cut())
            m_count.cut.append({captionOf(group), catalogues->at(group).leftOut});
    }

    bool searchGroup(int group)
    {
        CatalogueIndex::Scan scan(m_context.index, group, *m_matcher);
        CatalogueIndex::Paragraphs paragraphs(m_context.index, group);
        m_group = group;
        m_groupMatches = 0;
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
        SearchMatch match{paragraph.text, int(at - paragraph.start), paragraph.number, 0,
                          m_entries->entryAt(m_group, at)};
        MatchRank rank = MatchRank::Elsewhere;
        if (match.entry >= 0) {
            const QStringView genus = m_entries->at(match.entry).genus();
            const qsizetype start = m_entries->positionOf(match.entry, genus);
            if (m_entries->lineStart(match.entry) == paragraph.start)
                match.genusEnd = int(start + genus.size() - paragraph.start);
            if (m_ranked)
                rank = rankOfMatch(start, genus.size(), at, m_matcher->length());
        }
        pendingBatch(rank).matches.append(match);
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
            m_pending.append(
                {m_group, captionOf(m_group), int(m_matcher->length()), {}, rank, m_entries});
        }
        return m_pending[open];
    }

    bool deliveryDue() const
    {
        return m_pendingMatches >= (m_deliveredMatches == 0 ? FirstBatch : LaterBatch) ||
               (m_pendingMatches > 0 && m_sinceDelivery.elapsed() >= DeliveryInterval);
    }

    void deliver()
    {
        if (m_pending.isEmpty())
            return;
        m_found(m_pending, m_count);
        if (m_deliveredMatches == 0)
            m_context.firstShown.tryAcquire(1, FirstScreenWait);
        m_deliveredMatches += m_pendingMatches;
        m_pendingMatches = 0;
        m_pending.clear();
        m_open.fill(-1);
        m_sinceDelivery.restart();
    }

    Context m_context;
    const int m_generation;
    const SearchQuery m_query;
    const std::shared_ptr<const TextMatcher> m_matcher;
    const bool m_ranked;
    BatchSink m_found;
    EndSink m_finished;
    catalogue::EntriesPtr m_entries;
    SearchCount m_count;
    QList<SearchResults> m_pending;
    std::array<int, MatchRankCount> m_open; // each rank's batch in m_pending, or -1
    qsizetype m_pendingMatches = 0;
    qsizetype m_deliveredMatches = 0; // handed to the window so far
    QElapsedTimer m_sinceDelivery;
    int m_group = 0;
    qsizetype m_groupMatches = 0;
};

} // namespace

CatalogueSearch::CatalogueSearch(QObject *parent, qsizetype budget)
    : QObject(parent), m_model(budget), m_shared(std::make_shared<Shared>())
{
}

CatalogueSearch::~CatalogueSearch()
{
    m_shared->generation.store(-1);
    m_shared->firstShown.release();
    m_model.worker().waitForDone();
}

void CatalogueSearch::prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    m_model.worker().start([this, base = QDir::currentPath()] {
        indexedBytes(m_model.refresh(base));
        QMetaObject::invokeMethod(this, [this] {
            m_indexReady = true;
            emit indexReady();
        });
    });
}

CatalogueIndex::Bytes CatalogueSearch::indexedBytes(const catalogue::CataloguesPtr &catalogues)
{
    m_model.entries(catalogues); // read now, for the ranking of the first search
    m_shared->index.update(catalogues);
    return m_shared->index.bytes();
}

void CatalogueSearch::search(const SearchQuery &query)
{
    const int generation = ++m_generation;
    m_shared->generation.store(generation);
    m_shared->firstShown.release(); // a search waiting for its screen ends at once
    m_matcher = std::make_shared<const TextMatcher>(queryMatcher(query));
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
    const SearchJob::Context context{m_model, m_shared->index, m_shared->generation,
                                     m_shared->firstShown};
    m_model.worker().start([shared = m_shared, context, generation, checked, matcher = m_matcher,
                            ranked = m_ranked, base = QDir::currentPath(), found, finished] {
        SearchJob(context, generation, checked, matcher, ranked, found, finished).run(base);
    });
}

// Results stay in the window until the next search has something to show.
bool CatalogueSearch::startDelivery(int generation)
{
    if (m_resetGeneration == generation)
        return false;
    m_resetGeneration = generation;
    emit resultsReset();
    return true;
}

// The first results wait for the window's paint: the event that releases the
// search is posted at Qt::LowEventPriority, as Qt posts the UpdateRequest that
// paints a widget changed by those results (QWidget::update() in Qt 6.4.2,
// the version this was measured on), and posted events of one priority come
// in the order they were posted. tst_firstscreen fails when a Qt no longer
// paints before this event comes.
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
