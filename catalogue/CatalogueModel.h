#pragma once

#include "CatalogueEntries.h"
#include "CatalogueTexts.h"
#include "CatalogueTimeScale.h"

#include <QFuture>
#include <QMutex>
#include <QThreadPool>
#include <optional>

namespace fosdat::catalogue
{

// The one owner of the catalogues' texts in the program: each catalogue's
// whole plain text, its file stamp and a generation that changes when a file
// changes on disk (CatalogueReader), and what is derived from them and kept
// for each generation: the genus entries, in the time scale chosen once. The
// search index is derived from the same texts (CatalogueIndex in search/).
//
// Files are read on one worker, the model's: whatever reads through the model
// (a search, the diversity window's entries) runs as a job there, calls
// refresh() to see the files as they are now and reads the texts and entries
// of the generation it gets. What a job gets stays valid while it is held,
// however the files change later.
class CatalogueModel
{
public:
    explicit CatalogueModel(qsizetype budget = CatalogueReader::DefaultBudget);
    // Waits for the worker's jobs.
    ~CatalogueModel();
    CatalogueModel(const CatalogueModel &) = delete;
    CatalogueModel &operator=(const CatalogueModel &) = delete;

    QThreadPool &worker() { return m_worker; }

    // For jobs on the worker (callable from any thread, one call at a time):
    // every catalogue below `base` (the folder that holds dat/) read again
    // where its file has changed; the texts as they are then.
    CataloguesPtr refresh(const QString &base);
    // The entries of `texts`, read at the first call for their generation.
    EntriesPtr entries(const CataloguesPtr &texts);
    // The time scale, with the user's file over it: read at the first call.
    TimeScaleChoice timeScale();
    // The user's time scale file has changed: it is read again at the next
    // call, and the entries with it.
    void forgetTimeScale();

    // The same from any thread: the catalogues below the current directory
    // refreshed on the worker, and their entries.
    QFuture<EntriesPtr> readEntries();

private:
    TimeScaleChoice timeScaleLocked();

    QThreadPool m_worker;
    QMutex m_lock; // over what follows
    CatalogueReader m_reader;
    std::optional<TimeScaleChoice> m_scale;
    EntriesPtr m_entries; // of the latest generation asked for
};

} // namespace fosdat::catalogue
