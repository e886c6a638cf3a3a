// Whatever document the reader builds, the writer must write it so that
// reading it back gives the same text.
#include "FuzzEnvironment.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <cstdio>

using namespace fosdat;

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
    if (before != after) {
        std::fprintf(stderr, "round trip changed the text\nbefore: %s\nafter:  %s\n",
                     qPrintable(before.left(200)), qPrintable(after.left(200)));
        __builtin_trap();
    }
    return 0;
}
