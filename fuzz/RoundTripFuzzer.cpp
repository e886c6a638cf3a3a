// Whatever document the reader builds, the writer must write it so that
// reading it back gives the same text, the same paragraphs with the same tab
// stops, and the same default tab distance (of a document cut by the view's
// cap, the same text up to where the reading back is cut).
#include "FuzzEnvironment.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTextBlock>
#include <cstdio>

using namespace fosdat;

namespace
{

// What differs in the tab stops of two documents with the same paragraphs; empty when nothing.
QString tabDifference(const QTextDocument &before, const QTextDocument &after)
{
    if (before.defaultTextOption().tabStopDistance() != after.defaultTextOption().tabStopDistance())
        return QStringLiteral("the default tab distance");
    QTextBlock b = before.begin();
    for (QTextBlock a = after.begin(); b.isValid() && a.isValid(); b = b.next(), a = a.next()) {
        if (b.blockFormat().tabPositions() != a.blockFormat().tabPositions())
            return QStringLiteral("the tab stops of paragraph %1").arg(b.blockNumber());
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureGuiApplication();
    const rtf::ReadResult first = rtf::read(fuzzInput(data, size));
    if (!first.ok())
        return 0;
    const QByteArray written = rtf::write(*first.document);
    const rtf::ReadResult second = rtf::read(written);
    if (!second.ok())
        __builtin_trap();
    const QString before = first.document->toPlainText();
    const QString after = second.document->toPlainText();
    // A document cut where the view could lay out no more ends where the
    // reader's running estimate of its height passes that cap; the same
    // document written out is estimated from other formatting words and may be
    // cut a few characters before: its text must then be the first's beginning.
    const bool sameText =
        first.cut && second.cut
            ? before.startsWith(after)
            : before == after && first.document->blockCount() == second.document->blockCount();
    if (!sameText) {
        std::fprintf(stderr, "round trip changed the text\nbefore: %s\nafter:  %s\n",
                     qPrintable(before.left(200)), qPrintable(after.left(200)));
        __builtin_trap();
    }
    if (const QString tabs = tabDifference(*first.document, *second.document); !tabs.isEmpty()) {
        std::fprintf(stderr, "round trip changed %s\n", qPrintable(tabs));
        __builtin_trap();
    }
    return 0;
}
