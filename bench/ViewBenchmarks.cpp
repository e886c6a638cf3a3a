// The catalogue view: loading a catalogue file, searching it, saving it.
#include "BenchCommon.h"
#include "RtfWriter.h"
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

// Not a word of any catalogue: the search runs to the end of the text.
const QString NoMatch = QStringLiteral("Qzxqvjk");

ShownView &view()
{
    return sharedView();
}

// Loads `input` into the view, laid out to its end, as it is once the user
// has had the catalogue in front of them for a moment.
bool loadSettled(benchmark::State &state, const Input &input)
{
    view().clear();
    if (!view().load(input.path)) {
        state.SkipWithError("LoadFile failed");
        return false;
    }
    view().layOutEverything();
    return true;
}

void loadFile(benchmark::State &state, const Input &input, bool layOutEverything)
{
    for (auto _ : state) {
        state.PauseTiming();
        view().clear();
        state.ResumeTiming();
        if (!view().load(input.path)) {
            state.SkipWithError("LoadFile failed");
            return;
        }
        if (layOutEverything)
            view().layOutEverything();
        view().paintVisiblePart();
    }
    recordInput(state, input);
    state.counters["characters"] = double(view().box().document()->characterCount());
    state.SetBytesProcessed(state.iterations() * input.bytes.size());
}

// The text at the start of the last non-empty paragraph: its first occurrence
// is near the end, unless the catalogue repeats it.
QString lastParagraphStart(const QTextDocument &document)
{
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        const QString text = block.text().trimmed();
        if (text.size() >= 8)
            return text.left(24);
    }
    return {};
}

void find(benchmark::State &state, const Input &input, bool nearEnd)
{
    if (!loadSettled(state, input))
        return;
    CatalogueView &box = view().box();
    const QString needle = nearEnd ? lastParagraphStart(*box.document()) : NoMatch;
    bool found = false;
    for (auto _ : state)
        found = box.selectFirstMatch(needle, {});
    if (nearEnd != found) {
        state.SkipWithError(nearEnd ? "the last paragraph was not found" : "found a non-word");
        return;
    }
    recordInput(state, input);
    const int characters = box.document()->characterCount();
    state.counters["characters"] = double(characters);
    if (nearEnd)
        state.counters["match_at"] = double(box.textCursor().selectionStart()) / double(characters);
    state.SetBytesProcessed(state.iterations() * qint64(characters) * qint64(sizeof(QChar)));
}

// The first search after a load, which pays for taking the document's text.
void findAfterLoad(benchmark::State &state, const Input &input)
{
    bool found = false;
    for (auto _ : state) {
        state.PauseTiming();
        const bool loaded = loadSettled(state, input);
        state.ResumeTiming();
        if (!loaded)
            return;
        found = view().box().selectFirstMatch(NoMatch, {});
    }
    if (found) {
        state.SkipWithError("found a non-word");
        return;
    }
    recordInput(state, input);
    state.counters["characters"] = double(view().box().document()->characterCount());
}

// The same search as a scan of one string holding the document's text: what
// linear growth looks like on this machine, caches and memory included.
void scanBaseline(benchmark::State &state, const Input &input)
{
    if (!loadSettled(state, input))
        return;
    const QString text = view().box().document()->toRawText();
    qsizetype found = -1;
    for (auto _ : state)
        found = text.indexOf(NoMatch, 1, Qt::CaseInsensitive);
    if (found >= 0) {
        state.SkipWithError("found a non-word");
        return;
    }
    recordInput(state, input);
    state.counters["characters"] = double(text.size());
}

void saveFile(benchmark::State &state, const Input &input)
{
    if (!loadSettled(state, input))
        return;
    const QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("saved.rtf"));
    for (auto _ : state) {
        const data::SaveResult result =
            data::saveFile(target, rtf::write(*view().box().document()));
        if (!result.ok) {
            state.SkipWithError(result.errorString.toStdString().c_str());
            return;
        }
    }
    recordInput(state, input);
    const qint64 saved = QFileInfo(target).size();
    state.counters["saved_bytes"] = double(saved);
    state.counters["saved_per_source"] = double(saved) / double(input.bytes.size());
}

} // namespace

void registerViewBenchmarks(const Inputs &inputs)
{
    for (const Input &input : inputs.perFile()) {
        add(QStringLiteral("LoadFile/") + input.name,
            [input](benchmark::State &state) { loadFile(state, input, false); });
        add(QStringLiteral("LoadFileFullLayout/") + input.name,
            [input](benchmark::State &state) { loadFile(state, input, true); });
        add(QStringLiteral("FindNoMatch/") + input.name,
            [input](benchmark::State &state) { find(state, input, false); });
        add(QStringLiteral("FindNearEnd/") + input.name,
            [input](benchmark::State &state) { find(state, input, true); });
        add(QStringLiteral("FindAfterLoad/") + input.name, [input](benchmark::State &state) {
            findAfterLoad(state, input);
        })->Iterations(3); // each needs a fresh load, outside the timing

        add(QStringLiteral("ScanBaseline/") + input.name,
            [input](benchmark::State &state) { scanBaseline(state, input); });
        add(QStringLiteral("SaveFile/") + input.name,
            [input](benchmark::State &state) { saveFile(state, input); });
    }
}

} // namespace fosdat::bench
