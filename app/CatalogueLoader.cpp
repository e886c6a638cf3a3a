#include "CatalogueLoader.h"

#include "CatalogueFile.h"
#include "CatalogueView.h"
#include "DataFiles.h"
#include "LoadingIndicator.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>
#include <atomic>

// What a background load and the window share: how far the reading has come,
// and whether a newer load has made it pointless.
struct BackgroundLoad {
    CatalogueLoader::Ticket ticket = 0;
    QString path;
    qint64 size = 0;
    std::atomic<qint64> bytesRead = 0;
    std::atomic<bool> superseded = false;
    CatalogueLoader::Catalogue beginning; // what the view shows meanwhile, if anything
};

namespace
{

constexpr int ProgressIntervalMs = 50;

// Runs on a worker thread; nothing when the load is no longer wanted.
CatalogueLoader::Catalogue readInBackground(const std::shared_ptr<BackgroundLoad> &job)
{
    CatalogueLoader::Catalogue catalogue = readCatalogue(job->path, [&job](qsizetype read) {
        job->bytesRead = read;
        return !job->superseded;
    });
    return job->superseded ? nullptr : catalogue;
}

} // namespace

CatalogueLoader::CatalogueLoader(CatalogueView &view, QObject *parent)
    : QObject(parent), m_view(view), m_indicator(new LoadingIndicator(view)),
      m_lastWhole(view.sharedCatalogue())
{
    m_progressTimer.setInterval(ProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &CatalogueLoader::showProgress);
}

CatalogueLoader::~CatalogueLoader()
{
    if (m_job)
        m_job->superseded = true;
}

CatalogueLoader::Ticket CatalogueLoader::load(const QString &path)
{
    supersede();
    const Ticket ticket = ++m_lastTicket;
    m_lastOutcome = Outcome::Pending;
    m_waiting.clear(); // what waited for an older load
    const QFileInfo file(path);
    const qint64 size = file.isFile() ? file.size() : 0;
    if (size > m_threshold && size <= fosdat::data::MaxDataFileBytes) {
        loadInBackground(path, size, readCatalogueStart(path, m_view.beginningCharacters()));
        return ticket;
    }
    Catalogue catalogue = readCatalogue(path);
    const bool read = catalogue != nullptr;
    if (read)
        show(std::move(catalogue));
    else
        showLastWhole();
    settle(ticket, read ? Outcome::Shown : Outcome::Failed);
    return ticket;
}

void CatalogueLoader::whenShown(Ticket ticket, QObject *context, std::function<void()> shown,
                                std::function<void()> failed)
{
    if (ticket != m_lastTicket)
        return;
    if (m_lastOutcome == Outcome::Pending) {
        m_waiting.append({context, std::move(shown), std::move(failed)});
        return;
    }
    const std::function<void()> &action = m_lastOutcome == Outcome::Shown ? shown : failed;
    if (action)
        action();
}

void CatalogueLoader::whenLoaded(QObject *context, std::function<void()> shown,
                                 std::function<void()> failed)
{
    if (isLoading())
        whenShown(m_lastTicket, context, std::move(shown), std::move(failed));
    else
        shown();
}

void CatalogueLoader::settle(Ticket ticket, Outcome outcome)
{
    if (ticket != m_lastTicket)
        return;
    m_lastOutcome = outcome;
    if (outcome == Outcome::Shown)
        emit documentShown(ticket);
    else
        emit loadFailed(ticket);
    // An action may load again, which drops the rest.
    const QList<Waiting> waiting = std::exchange(m_waiting, {});
    for (const Waiting &action : waiting) {
        if (ticket != m_lastTicket)
            return;
        const std::function<void()> &run = outcome == Outcome::Shown ? action.shown : action.failed;
        if (action.context && run)
            run();
    }
}

void CatalogueLoader::loadInBackground(const QString &path, qint64 size, Catalogue beginning)
{
    auto job = std::make_shared<BackgroundLoad>();
    job->ticket = m_lastTicket;
    job->path = path;
    job->size = size;
    job->beginning = std::move(beginning);
    m_job = job;
    if (job->beginning)
        m_view.showBeginning(job->beginning);
    else
        showLastWhole(); // not the beginning of a load superseded
    m_indicator->start();
    m_progressTimer.start();
    auto *watcher = new QFutureWatcher<Catalogue>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, job] {
        finish(job, watcher->future().takeResult());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(readInBackground, job));
}

void CatalogueLoader::finish(const std::shared_ptr<BackgroundLoad> &job, Catalogue catalogue)
{
    if (job != m_job) // superseded after its reading was done
        return;
    endBackgroundLoad();
    const bool read = catalogue != nullptr;
    if (!read) {
        showLastWhole();
    } else if (job->beginning && m_view.sharedCatalogue() == job->beginning) {
        m_lastWhole = catalogue;
        m_view.showRest(std::move(catalogue));
    } else {
        show(std::move(catalogue));
    }
    settle(job->ticket, read ? Outcome::Shown : Outcome::Failed);
}

void CatalogueLoader::show(Catalogue catalogue)
{
    m_lastWhole = catalogue;
    m_view.showCatalogue(std::move(catalogue));
}

void CatalogueLoader::showLastWhole()
{
    if (m_view.sharedCatalogue() != m_lastWhole)
        m_view.showCatalogue(m_lastWhole);
}

void CatalogueLoader::supersede()
{
    if (!m_job)
        return;
    m_job->superseded = true;
    endBackgroundLoad();
}

void CatalogueLoader::endBackgroundLoad()
{
    m_job.reset();
    m_progressTimer.stop();
    m_indicator->stop();
}

void CatalogueLoader::showProgress()
{
    if (m_job && m_job->size > 0)
        m_indicator->setProgress(double(m_job->bytesRead) / double(m_job->size));
}
