#pragma once

#include "CatalogueIndex.h"
#include "CatalogueModel.h"
#include "SearchResults.h"
#include "TextMatcher.h"

#include <QEvent>
#include <QFuture>
#include <QObject>
#include <QTextDocument>
#include <memory>

namespace fosdat
{

// Searches the texts of all catalogues, as the catalogue model holds them,
// in the model's worker. The index is built on first use (or when asked to
// prepare), and files changed on disk are read again before each search.
// Matches come in batches in the order of the group table and of each text,
// the first as soon as a screenful is found; a new search cancels the one
// under way. Each batch holds matches of one rank (MatchRank, known from the
// genus entry of the match's line), so that whoever lists them puts each
// batch after those of its rank that came before. The count comes as numbers
// and captions: its wording is the window's.
//
// A citing search lists the reference numbers of the lines that cite one, as
// the reference links recognise them (data::findReferenceNumbers()): not a
// year, a page or any other number that holds the same digits.
class CatalogueSearch : public QObject
{
    Q_OBJECT

public:
    // At most this many matches are listed; all are counted.
    static constexpr int ListedLimit = 50'000;
    // Posted to the search, behind the window's paint of the first results.
    static constexpr QEvent::Type FirstScreenShown = QEvent::Type(QEvent::User + 1);

    // `budget`: the characters the model's texts may hold together.
    explicit CatalogueSearch(QObject *parent = nullptr,
                             qsizetype budget = catalogue::CatalogueReader::DefaultBudget);
    // Cancels what is under way and waits for the model's worker.
    ~CatalogueSearch() override;

    // The catalogues searched, and the worker every reading of them runs on.
    catalogue::CatalogueModel &model() { return m_model; }

    // Builds the index in the worker unless that has been done or begun.
    void prepare();
    // Searches every catalogue below the current directory, and lists the
    // matches of the query's group, or of all; an empty text cancels the
    // search under way and finds nothing.
    void search(const SearchQuery &query);
    void search(const QString &text, QTextDocument::FindFlags flags)
    {
        search(SearchQuery{text, flags});
    }
    // What the last search asked for matches with.
    const TextMatcher &matcher() const { return *m_matcher; }
    // Whether matches are ranked; they are unless this is turned off, to
    // measure what ranking costs. Unranked, every match is MatchRank::Elsewhere.
    void setRanked(bool ranked) { m_ranked = ranked; }

    // Only in a job on the model's worker: the index's bytes of `catalogues`,
    // for whoever scans the same texts besides (the diversity window's text
    // filter), indexed first where they are not.
    CatalogueIndex::Bytes indexedBytes(const catalogue::CataloguesPtr &catalogues);

signals:
    void indexReady();
    // Before the first results or the first count line of a new search.
    void resultsReset();
    void resultsFound(const fosdat::SearchResults &batch);
    void countChanged(const fosdat::SearchCount &count);
    // The search has ended and its count line is final.
    void searchFinished();

protected:
    // The window has painted what the first delivery brought.
    void customEvent(QEvent *event) override;

private:
    struct Shared; // what the worker's jobs and the window share

    void deliver(int generation, const QList<SearchResults> &batches, const SearchCount &count);
    void finish(int generation, const SearchCount &count);
    bool startDelivery(int generation);

    catalogue::CatalogueModel m_model; // destroyed last: it waits for the jobs
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<const TextMatcher> m_matcher = std::make_shared<const TextMatcher>();
    bool m_prepared = false;   // the index has been asked for
    bool m_indexReady = false; // and built
    int m_generation = 0;
    int m_resetGeneration = -1; // the last search whose results have been reset
    int m_shownFirst = -1;      // the last search whose first results have come
    bool m_ranked = true;
};

} // namespace fosdat
