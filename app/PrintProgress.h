#pragma once

#include "CataloguePrinter.h"

#include <QString>
#include <atomic>
#include <memory>

class QProgressDialog;
class QWidget;

// How far one print run on a worker thread has come, for the window that
// shows it, and whether the user has stopped it.
struct PrintRun {
    std::atomic<CataloguePrinter::Stage> stage = CataloguePrinter::Stage::LayingOut;
    std::atomic<int> done = 0;
    std::atomic<int> total = 0;
    std::atomic<bool> stopped = false;

    // The printer's progress, called on the worker: it records how far the
    // run has come and stops it once the user has.
    CataloguePrinter::Progress progress();
};

// A dialog that follows `run` with `label` above its stage, and whose
// "Остановить" stops it. It shows only once the run has lasted `showAfterMs`,
// and is the caller's to delete.
QProgressDialog *followPrintRun(QWidget *parent, const QString &title, const QString &label,
                                const std::shared_ptr<PrintRun> &run, int showAfterMs);
