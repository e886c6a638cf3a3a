#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;

// Makes the whole catalogue to print, with its formatting, on the worker
// thread that prints it: the document belongs to that thread. Null when the
// catalogue cannot be had.
using CatalogueSource = std::function<std::unique_ptr<QTextDocument>()>;

// Prints a catalogue on paper or into a PDF: its document is laid out for the
// page, so that the page's width decides the lines; every page carries the
// group's caption at its head and its number at its foot. Fonts, bold and
// italic, tab stops and pictures are drawn as the document holds them. Each
// line of text is drawn on one page only, the page its top lies on, so that a
// paragraph going on over a page break is split between the two pages and a
// PDF holds its text once. Meant for a worker thread: nothing of it belongs
// to the window.
class CataloguePrinter
{
public:
    enum class Stage {
        LayingOut, // done and total in characters
        Painting,  // done and total in pages
    };
    // Told how far the print has come; returns false to stop it.
    using Progress = std::function<bool(Stage stage, int done, int total)>;

    // Takes `document`, which must belong to the calling thread.
    CataloguePrinter(std::unique_ptr<QTextDocument> document, QString caption);
    ~CataloguePrinter();
    CataloguePrinter(const CataloguePrinter &) = delete;
    CataloguePrinter &operator=(const CataloguePrinter &) = delete;

    // Lays the document out for `device`'s page and paints its pages on it,
    // those of a QPrinter's page range only. Returns the pages painted; 0
    // when the device cannot be painted on or the print was stopped (the
    // pages painted until then stay on the device).
    int print(QPagedPaintDevice &device, const Progress &progress = {});

    // A4, portrait, with margins for binding on the left.
    static QPageLayout defaultPageLayout();

    // Writes the whole catalogue as a PDF document of defaultPageLayout()
    // pages; empty when stopped by `progress` or when nothing could be painted.
    QByteArray pdf(const Progress &progress = {});

private:
    // Lays the document out a stretch at a time, asking `progress` between
    // stretches whether to go on; false when stopped.
    bool layOut(const Progress &progress);

    std::unique_ptr<QTextDocument> m_document;
    QString m_caption;
};
