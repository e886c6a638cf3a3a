// Arbitrary bytes into the RTF reader: it must neither crash, hang nor grow
// without bound, whatever it is given.
#include "FuzzEnvironment.h"
#include "RtfReader.h"

using namespace fosdat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureGuiApplication();
    const rtf::ReadResult result = rtf::read(fuzzInput(data, size));
    if (result.ok() && result.document->characterCount() > qsizetype(size) + 1)
        __builtin_trap(); // the document can never hold more text than the input had bytes
    return 0;
}
