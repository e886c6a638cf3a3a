#include "PrintProgress.h"

#include <QProgressDialog>
#include <QTimer>

namespace
{

constexpr int ProgressIntervalMs = 100;

} // namespace

CataloguePrinter::Progress PrintRun::progress()
{
    return [this](CataloguePrinter::Stage now, int doneNow, int totalNow) {
        stage = now;
        done = doneNow;
        total = totalNow;
        return !stopped;
    };
}

QProgressDialog *followPrintRun(QWidget *parent, const QString &title, const QString &label,
                                const std::shared_ptr<PrintRun> &run, int showAfterMs)
{
    auto *dialog = new QProgressDialog(label, QStringLiteral("Остановить"), 0, 0, parent);
    dialog->setWindowTitle(title);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(showAfterMs);
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, [run] { run->stopped = true; });
    auto *timer = new QTimer(dialog);
    QObject::connect(timer, &QTimer::timeout, dialog, [dialog, label, run] {
        const bool painting = run->stage == CataloguePrinter::Stage::Painting;
        const int done = run->done;
        dialog->setLabelText(label + u'\n' +
                             (painting
                                  ? QStringLiteral("Страница %1 из %2").arg(done).arg(run->total)
                                  : QStringLiteral("Разметка страниц")));
        dialog->setMaximum(run->total);
        dialog->setValue(done);
    });
    timer->start(ProgressIntervalMs);
    return dialog;
}
