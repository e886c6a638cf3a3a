// Arbitrary bytes into the RTF reader: it must neither crash, hang nor grow
// without bound, whatever it is given.
#include "FuzzEnvironment.h"
#include "RtfLimits.h"
#include "RtfReader.h"

using namespace fosdat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureGuiApplication();
    const rtf::ReadResult result = rtf::read(fuzzInput(data, size));
    // The document holds no more characters than the input had bytes, but
    // for what the caps add: a zero-width space after every so many letters
    // of a word, and a paragraph end where a full paragraph is broken.
    const qsizetype bytes = qsizetype(size);
    const qsizetype added = bytes / rtf::limits::MaxWordLetters +
                            bytes / rtf::limits::MaxParagraphCharacters +
                            bytes / rtf::limits::MaxParagraphTabs + 1;
    if (result.ok() && result.document->characterCount() > bytes + 1 + added)
        __builtin_trap();
    // Shown and left out make the file's characters; only a cut document leaves any out.
    if (result.shownCharacters > result.characters ||
        (!result.cut && result.shownCharacters != result.characters))
        __builtin_trap();
    return 0;
}
