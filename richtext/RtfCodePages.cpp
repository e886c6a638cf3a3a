#include "RtfCodePages.h"

#include <algorithm>
#include <array>

namespace fosdat::rtf
{

namespace
{

struct CodePageName {
    int codePage;
    const char *name; // as ICU knows it
};

constexpr std::array CodePageNames = {
    CodePageName{437, "IBM437"},        CodePageName{850, "IBM850"},
    CodePageName{852, "IBM852"},        CodePageName{866, "IBM866"},
    CodePageName{874, "windows-874"},   CodePageName{932, "windows-932"},
    CodePageName{936, "windows-936"},   CodePageName{949, "windows-949"},
    CodePageName{950, "windows-950"},   CodePageName{1250, "windows-1250"},
    CodePageName{1251, "windows-1251"}, CodePageName{1252, "windows-1252"},
    CodePageName{1253, "windows-1253"}, CodePageName{1254, "windows-1254"},
    CodePageName{1255, "windows-1255"}, CodePageName{1256, "windows-1256"},
    CodePageName{1257, "windows-1257"}, CodePageName{1258, "windows-1258"},
    CodePageName{10000, "macintosh"},   CodePageName{10007, "x-mac-cyrillic"},
    CodePageName{20866, "KOI8-R"},      CodePageName{21866, "KOI8-U"},
    CodePageName{28591, "ISO-8859-1"},  CodePageName{28592, "ISO-8859-2"},
    CodePageName{28595, "ISO-8859-5"},  CodePageName{65001, "UTF-8"},
};

struct CharsetCodePage {
    int charset;
    int codePage;
};

// Symbol fonts (charset 2) are decoded byte for byte (ISO-8859-1): the font
// engine maps such code points onto the symbol font's own glyphs.
constexpr std::array Charsets = {
    CharsetCodePage{0, 1252},   CharsetCodePage{2, 28591},  CharsetCodePage{77, 10000},
    CharsetCodePage{128, 932},  CharsetCodePage{129, 949},  CharsetCodePage{134, 936},
    CharsetCodePage{136, 950},  CharsetCodePage{161, 1253}, CharsetCodePage{162, 1254},
    CharsetCodePage{163, 1258}, CharsetCodePage{177, 1255}, CharsetCodePage{178, 1256},
    CharsetCodePage{186, 1257}, CharsetCodePage{204, 1251}, CharsetCodePage{222, 874},
    CharsetCodePage{238, 1250}, CharsetCodePage{254, 437},  CharsetCodePage{255, 437},
};

const char *nameOf(int codePage)
{
    const auto it =
        std::find_if(CodePageNames.begin(), CodePageNames.end(),
                     [codePage](const CodePageName &n) { return n.codePage == codePage; });
    return it == CodePageNames.end() ? nullptr : it->name;
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

} // namespace

int codePageForCharset(int charset)
{
    const auto it =
        std::find_if(Charsets.begin(), Charsets.end(),
                     [charset](const CharsetCodePage &c) { return c.charset == charset; });
    return it == Charsets.end() ? 0 : it->codePage;
}

bool isKnownCodePage(int codePage)
{
    // Whether ICU has each decoder is asked once; a code page without one is
    // read as the document's default.
    static const std::array<bool, CodePageNames.size()> hasDecoder = [] {
        std::array<bool, CodePageNames.size()> found{};
        for (size_t i = 0; i < CodePageNames.size(); ++i)
            found[i] = QStringDecoder(CodePageNames[i].name).isValid();
        return found;
    }();
    const auto it =
        std::find_if(CodePageNames.begin(), CodePageNames.end(),
                     [codePage](const CodePageName &n) { return n.codePage == codePage; });
    return it != CodePageNames.end() && hasDecoder[size_t(it - CodePageNames.begin())];
}

void DecoderCache::decodeAppend(QByteArrayView bytes, int codePage, QString &out)
{
    if (isAscii(bytes)) { // every known code page keeps ASCII as it is
        out.append(QLatin1StringView(bytes));
        return;
    }
    QStringDecoder &decoder = decoderFor(codePage);
    const qsizetype oldSize = out.size();
    out.resize(oldSize + decoder.requiredSpace(bytes.size()));
    const QChar *end = decoder.appendToBuffer(out.data() + oldSize, bytes);
    out.resize(end - out.constData());
}

QStringDecoder &DecoderCache::decoderFor(int codePage)
{
    if (!isKnownCodePage(codePage))
        codePage = DefaultCodePage; // keeps the cache as small as the table
    for (auto &[page, decoder] : m_decoders) {
        if (page == codePage)
            return decoder;
    }
    // Stateless: every run is decoded on its own and flushed at its end.
    QStringDecoder decoder(nameOf(codePage), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) // only when ICU lacks the default code page too
        decoder = QStringDecoder(QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
    m_decoders.emplace_back(codePage, std::move(decoder));
    return m_decoders.back().second;
}

} // namespace fosdat::rtf
