#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;
class QThread;

// Prints a catalogue on paper or into a PDF: a copy of its document is laid
// out for the page, so that the page's width decides the lines and the view's
// own layout stays as it is; every page carries the group's caption at its
// head and its number at its foot. Fonts, bold and italic, tab stops and
// pictures are drawn as the document holds them.
class CataloguePrinter
{
public:
    // Told after each page, with the pages done and their count; returns
    // false to stop after that page.
    using Progress = std::function<bool(int done, int pages)>;

    // Copies `document`, which must live on this thread; the copy belongs to
    // the printer and may be printed on another thread.
    CataloguePrinter(const QTextDocument &document, QString caption);
    ~CataloguePrinter();
    CataloguePrinter(const CataloguePrinter &) = delete;
    CataloguePrinter &operator=(const CataloguePrinter &) = delete;

    // Lays the copy out for `device`'s page and paints its pages on it, those
    // of a QPrinter's page range only. Returns the pages painted; 0 when the
    // device cannot be painted on.
    int print(QPagedPaintDevice &device, const Progress &progress = {});

    // A4, portrait, with margins for binding on the left.
    static QPageLayout defaultPageLayout();

    // Writes the whole catalogue as a PDF document of defaultPageLayout()
    // pages; empty when
    // stopped by `progress` or when nothing could be painted.
    QByteArray pdf(const Progress &progress = {});

    // Hands the copy over to `thread`, from the thread that holds it.
    void moveToThread(QThread *thread);

private:
    std::unique_ptr<QTextDocument> m_document;
    QString m_caption;
};
