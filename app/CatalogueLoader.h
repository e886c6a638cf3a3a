#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace fosdat::rtf
{
struct ContentRecord;
}

class CatalogueView;
class LoadingIndicator;
struct BackgroundLoad;

// Loads catalogue files into the catalogue view. A file of the data set's
// ordinary size is read and shown at once, before load() returns. A larger
// one is read on a worker thread while the view goes on showing what it
// showed, with a busy indication over it; the catalogue takes the view's
// place once it is read whole. A newer load supersedes one still
// running: that one stops and its document is dropped.
//
// Each load has a ticket, and whatever needs its document waits for it
// (whenShown()): an action asked for with a group to load lands on that
// group's catalogue, not on the one the view shows while it is read.
class CatalogueLoader final : public QObject
{
    Q_OBJECT

public:
    // Files up to this size load at once. The data set's largest catalogue is
    // under 1 MB and shows in about 11 ms; a 1.9 MB file whose view is held
    // by its layout caps took up to 0.15 s, past the 0.1 s the window may
    // stand still before it feels stuck, so files above 1 MB are read aside.
    static constexpr qint64 DefaultBackgroundThreshold = 1024 * 1024;

    // One load; a later load has a larger ticket.
    using Ticket = quint64;
    // A catalogue read whole, shared by the view and whatever prints or saves it.
    using Catalogue = std::shared_ptr<const fosdat::rtf::ContentRecord>;

    explicit CatalogueLoader(CatalogueView &view, QObject *parent = nullptr);
    ~CatalogueLoader() override;

    // Shows the catalogue at `path` in the view; a file that cannot be read
    // leaves the view as it is.
    Ticket load(const QString &path);
    // The last load asked for; 0 before the first.
    Ticket lastTicket() const { return m_lastTicket; }

    // Whether a background load is still running.
    bool isLoading() const { return m_job != nullptr; }

    // Runs `shown` once the document of load `ticket` is in the view, or
    // `failed` once that load has failed: at once when it has already. A
    // newer load drops both unrun; so does the end of `context`.
    void whenShown(Ticket ticket, QObject *context, std::function<void()> shown,
                   std::function<void()> failed = {});
    // The same for the load still running in the background, if any; with
    // none, `shown` runs at once on what the view shows.
    void whenLoaded(QObject *context, std::function<void()> shown,
                    std::function<void()> failed = {});

    void setBackgroundThreshold(qint64 bytes) { m_threshold = bytes; }

signals:
    // The document of load `ticket` has just taken the view's place.
    void documentShown(CatalogueLoader::Ticket ticket);
    // Load `ticket` ended without a document; the view is as it was.
    void loadFailed(CatalogueLoader::Ticket ticket);

private:
    enum class Outcome { Pending, Shown, Failed };
    struct Waiting {
        QPointer<QObject> context;
        std::function<void()> shown;
        std::function<void()> failed;
    };

    void loadInBackground(const QString &path, qint64 size);
    void finish(const std::shared_ptr<BackgroundLoad> &job, Catalogue catalogue);
    void endBackgroundLoad();
    void show(Catalogue catalogue);
    void supersede();
    void showProgress();
    // Load `ticket` has come to `outcome`: the actions waiting for it run.
    void settle(Ticket ticket, Outcome outcome);

    CatalogueView &m_view;
    LoadingIndicator *m_indicator;
    std::shared_ptr<BackgroundLoad> m_job; // the background load still running, if any
    qint64 m_threshold = DefaultBackgroundThreshold;
    QTimer m_progressTimer;
    Ticket m_lastTicket = 0;
    Outcome m_lastOutcome = Outcome::Shown;
    QList<Waiting> m_waiting; // all for m_lastTicket
};
