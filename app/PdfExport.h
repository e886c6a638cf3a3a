#pragma once

#include "CataloguePrinter.h"

#include <QObject>
#include <QString>

class QWidget;

// Writes the shown catalogue as a PDF file on a worker thread, so that the
// window answers meanwhile: the largest catalogue of the data set takes about
// a quarter of a second, one near the reader's caps many seconds. An export
// that runs longer than a moment shows its progress in a dialog that can
// stop it; a stopped or failed export leaves any earlier file of that name as
// it was. The file is written whole even when the window closes meanwhile.
class PdfExport : public QObject
{
    Q_OBJECT

public:
    // Progress dialogs belong to `window`.
    explicit PdfExport(QWidget *window);

    // Makes the catalogue with `source` on the worker and writes it to
    // `path`, with `caption` at the head of each page.
    void start(CatalogueSource source, const QString &caption, const QString &path);

signals:
    // An export has ended: written, stopped by the user (no error), or failed.
    void finished(const QString &path, bool written, const QString &error);

private:
    QWidget *m_window;
};
