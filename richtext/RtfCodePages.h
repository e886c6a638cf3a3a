#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <utility>
#include <vector>

namespace fosdat::rtf
{

inline constexpr int DefaultCodePage = 1252; // what \ansi means without \ansicpg

// The Windows code page of an RTF \fcharset value; 0 when the charset names
// none (1, "default") or is unknown, and the document's code page applies.
int codePageForCharset(int charset);

// True when the reader knows that Windows code page and a decoder for it exists.
bool isKnownCodePage(int codePage);

// One QStringDecoder per code page, created on first use.
class DecoderCache
{
public:
    // Appends `bytes` decoded from `codePage` to `out`. The bytes are decoded
    // as one run, so multi-byte characters split over several \'hh are whole;
    // an incomplete character at the end is dropped.
    void decodeAppend(QByteArrayView bytes, int codePage, QString &out);

private:
    QStringDecoder &decoderFor(int codePage);

    std::vector<std::pair<int, QStringDecoder>> m_decoders;
};

} // namespace fosdat::rtf
