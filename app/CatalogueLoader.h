#pragma once

#include "CatalogueFile.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class CatalogueView;
class LoadingIndicator;
struct BackgroundLoad;

// Loads catalogue files into the catalogue view. A file of the data set's
// ordinary size is read and shown at once, before load() returns. Of a
// larger one, the beginning is read and shown at once, and the whole file is
// read on a worker thread meanwhile, with a busy indication over the view;
// the whole catalogue takes the beginning's place once it is read, the
// place in sight kept. A newer load supersedes one still running: that one
// stops and its document is dropped. A load that fails leaves the view with
// the last catalogue it showed whole.
//
// Each load has a ticket, and whatever needs its document waits for it
// (whenShown()): an action asked for with a group to load lands on that
// group's catalogue, not on the one the view shows while it is read.
class CatalogueLoader final : public QObject
{
    Q_OBJECT

public:
    // Files up to this size load at once. The sample's largest catalogue,
    // 224 KB, shows in about 11 ms; a 546 KB catalogue as richly formatted as
    // a real one took 24 ms to read whole and show, past the 16 ms of a
    // frame, two thirds of it reading the parts not yet in sight.
    static constexpr qint64 DefaultBackgroundThreshold = 256 * 1024;

    // One load; a later load has a larger ticket.
    using Ticket = quint64;
    // A catalogue read whole, shared by the view and whatever prints or saves it.
    using Catalogue = CatalogueRecord;

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

    // Reads the file on a worker, the view showing its `beginning` meanwhile
    // where there is one.
    void loadInBackground(const QString &path, qint64 size, Catalogue beginning);
    void finish(const std::shared_ptr<BackgroundLoad> &job, Catalogue catalogue);
    void endBackgroundLoad();
    void show(Catalogue catalogue);
    // The view shows again the last catalogue it showed whole, where it
    // shows the beginning of another.
    void showLastWhole();
    void supersede();
    void showProgress();
    // Load `ticket` has come to `outcome`: the actions waiting for it run.
    void settle(Ticket ticket, Outcome outcome);

    CatalogueView &m_view;
    LoadingIndicator *m_indicator;
    std::shared_ptr<BackgroundLoad> m_job; // the background load still running, if any
    Catalogue m_lastWhole;                 // the last catalogue shown whole
    qint64 m_threshold = DefaultBackgroundThreshold;
    QTimer m_progressTimer;
    Ticket m_lastTicket = 0;
    Outcome m_lastOutcome = Outcome::Shown;
    QList<Waiting> m_waiting; // all for m_lastTicket
};
