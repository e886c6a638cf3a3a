// Printing: a catalogue written as a PDF, from the shown document and from
// its file on disk, beside which bench/run.sh times LibreOffice's conversion.
#include "BenchCommon.h"
#include "CatalogueFile.h"
#include "CataloguePrinter.h"
#include "SaveFile.h"
#include "ShownView.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>

using namespace fosdat;

namespace fosdat::bench
{

namespace
{

// Writes `document` as a PDF to `target`, as "Экспорт в PDF..." does; the
// pages written, or 0 after a skip.
int exportPdf(benchmark::State &state, const QTextDocument &document, const QString &target)
{
    CataloguePrinter printer(document, QStringLiteral("ЦЕФАЛОПОДЫ1"));
    int pages = 0;
    const QByteArray pdf = printer.pdf([&pages](int done, int) {
        pages = done;
        return true;
    });
    const data::SaveResult saved = data::saveFile(target, pdf);
    if (pdf.isEmpty() || !saved.ok) {
        state.SkipWithError("the PDF was not written");
        return 0;
    }
    return pages;
}

void recordPdf(benchmark::State &state, const Input &input, const QString &target, int pages)
{
    recordInput(state, input);
    state.counters["pages"] = pages;
    state.counters["pdf_bytes"] = double(QFileInfo(target).size());
}

// From the document the view shows to the file on disk: what the user waits for.
void exportShown(benchmark::State &state, const Input &input)
{
    ShownView &view = sharedView();
    view.clear();
    if (!view.load(input.path)) {
        state.SkipWithError("LoadFile failed");
        return;
    }
    const QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("shown.pdf"));
    int pages = 0;
    for (auto _ : state) {
        if ((pages = exportPdf(state, *view.box().document(), target)) == 0)
            return;
    }
    recordPdf(state, input, target, pages);
}

// From the catalogue file to the PDF, reading included: the same work as a
// converter's, without the start of a process.
void convertFile(benchmark::State &state, const Input &input)
{
    const QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("converted.pdf"));
    int pages = 0;
    for (auto _ : state) {
        const std::unique_ptr<QTextDocument> document = readCatalogue(input.path);
        if (!document) {
            state.SkipWithError("the catalogue could not be read");
            return;
        }
        if ((pages = exportPdf(state, *document, target)) == 0)
            return;
    }
    recordPdf(state, input, target, pages);
}

} // namespace

void registerPrintBenchmarks(const Inputs &inputs)
{
    add(QStringLiteral("PdfExport/") + inputs.largest.name,
        [input = inputs.largest](benchmark::State &state) { exportShown(state, input); });
    add(QStringLiteral("PdfFromFile/") + inputs.largest.name,
        [input = inputs.largest](benchmark::State &state) { convertFile(state, input); });
}

} // namespace fosdat::bench
