#pragma once

#include "CataloguePrinter.h"

#include <QObject>
#include <QString>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

// The print preview of a catalogue, Qt's, from which it is printed. Qt asks
// for the pages whenever it needs them (to show them, after a change of the
// page's setup, to print) and takes them once its request returns; the
// catalogue is then made, laid out and painted on a worker thread while the
// request waits in an event loop of its own, so that the windows answer
// meanwhile. A run of more than a moment shows its progress above the
// window that waits for it. "Остановить" stops a run for the preview and
// closes the preview; a print run, which a printer cannot take back, shows
// its progress without it.
class PrintPreview : public QObject
{
    Q_OBJECT

public:
    // The preview belongs to `window`.
    explicit PrintPreview(QWidget *window);

    // Shows the preview of the catalogue that `source` makes, with
    // `caption` at the head of each page, until the user closes it.
    void exec(const CatalogueSource &source, const QString &caption);

signals:
    // The catalogue could not be made or its pages not painted.
    void failed(const QString &error);

private:
    // Paints the catalogue's pages on `printer` on a worker thread and
    // returns once they are painted, stopped or failed.
    void paint(QPrinter *printer, QPrintPreviewDialog &dialog, const CatalogueSource &source,
               const QString &caption);

    QWidget *m_window;
};
