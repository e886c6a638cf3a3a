#include "RtfPicture.h"

#include "RtfLimits.h"
#include "RtfTokenizer.h"
#include "RtfUnits.h"

#include <algorithm>
#include <climits>

namespace fosdat::rtf
{

namespace
{

quint32 bigEndian(const QByteArray &data, qsizetype at, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | quint8(data.at(at + i));
    return value;
}

// What a picture's header says: its size in pixels and the bytes a pixel
// takes once decoded, at most what a decoder gives for such an image.
struct Header {
    QSize pixels;
    int bytesPerPixel = 4;
};

// A PNG starts with its signature and its header chunk, which gives the size
// and the bits of a sample: 16-bit images decode to 8 bytes a pixel.
std::optional<Header> pngHeader(const QByteArray &data)
{
    if (!data.startsWith("\x89PNG\r\n\x1a\n") || data.size() < 26 || data.mid(12, 4) != "IHDR")
        return std::nullopt;
    const quint32 width = bigEndian(data, 16, 4);
    const quint32 height = bigEndian(data, 20, 4);
    if (width > quint32(INT_MAX) || height > quint32(INT_MAX))
        return std::nullopt;
    return Header{QSize(int(width), int(height)), data.at(24) == 16 ? 8 : 4};
}

// A JPEG's scans (start-of-scan markers), counted up to `limit` + 1, and its
// size, from the first frame header, found by walking its segments: the
// lengths of the segments are skipped, so bytes inside them are not taken
// for markers, and a scan's entropy-coded data ends at the first marker that
// is neither a stuffed 0xFF nor a restart. Nothing when the scans are too
// many or no frame header comes before the first scan.
std::optional<Header> jpegHeader(const QByteArray &data, int limit)
{
    if (!data.startsWith("\xff\xd8\xff"))
        return std::nullopt;
    const auto byte = [&](qsizetype at) { return quint8(data.at(at)); };
    const auto isFrame = [](quint8 marker) {
        return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 &&
               marker != 0xcc;
    };
    std::optional<Header> header;
    int scans = 0;
    qsizetype at = 2; // after the start-of-image marker
    while (at + 3 < data.size()) {
        if (byte(at) != 0xff)
            break; // not a marker: the data is damaged, as a document's decoder will tell
        const quint8 marker = byte(at + 1);
        if (marker == 0xd9) // end of image
            break;
        if (marker == 0xff || (marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) {
            at += marker == 0xff ? 1 : 2; // fill byte, or a marker without a length
            continue;
        }
        if (isFrame(marker) && !header && at + 8 < data.size())
            header =
                Header{QSize(int(bigEndian(data, at + 7, 2)), int(bigEndian(data, at + 5, 2)))};
        at += 2 + bigEndian(data, at + 2, 2);
        if (marker != 0xda)
            continue;
        if (!header || ++scans > limit)
            return std::nullopt;
        for (; at + 1 < data.size(); ++at) {
            const quint8 next = byte(at + 1);
            if (byte(at) == 0xff && next != 0x00 && !(next >= 0xd0 && next <= 0xd7))
                break;
        }
    }
    return header;
}

} // namespace

qreal Picture::shownHeight() const
{
    if (size.height() > 0)
        return size.height();
    if (size.width() > 0 && pixels.width() > 0)
        return size.width() * pixels.height() / pixels.width();
    return pixels.height();
}

void PictureReader::begin()
{
    *this = PictureReader();
}

void PictureReader::setWord(PictureWord word, int parameter)
{
    switch (word) {
    case PictureWord::Png:
        m_format = Format::Png;
        break;
    case PictureWord::Jpeg:
        m_format = Format::Jpeg;
        break;
    case PictureWord::GoalWidth:
        m_goalWidth = parameter;
        break;
    case PictureWord::GoalHeight:
        m_goalHeight = parameter;
        break;
    case PictureWord::ScaleX:
        m_scaleX = parameter;
        break;
    case PictureWord::ScaleY:
        m_scaleY = parameter;
        break;
    }
}

void PictureReader::appendHex(QByteArrayView text)
{
    if (m_format == Format::Other)
        return;
    for (const char c : text) {
        const int value = hexDigitValue(c);
        if (value < 0)
            continue;
        if (m_highNibble < 0) {
            m_highNibble = value;
        } else {
            m_data.append(char(m_highNibble * 16 + value));
            m_highNibble = -1;
        }
    }
}

void PictureReader::appendBinary(QByteArrayView data)
{
    if (m_format != Format::Other)
        m_data.append(data);
}

std::optional<Picture> PictureReader::finish(qint64 &byteBudget)
{
    if (m_format == Format::Other)
        return std::nullopt;
    const bool png = m_format == Format::Png;
    const std::optional<Header> header =
        png ? pngHeader(m_data) : jpegHeader(m_data, limits::MaxJpegScans);
    if (!header || header->pixels.isEmpty())
        return std::nullopt;
    // Sides of up to 2^31 pixels make a count of pixels that fits; its bytes need not.
    const qint64 pixels = qint64(header->pixels.width()) * header->pixels.height();
    if (pixels > std::min(limits::MaxPictureBytes, byteBudget) / header->bytesPerPixel)
        return std::nullopt;
    byteBudget -= pixels * header->bytesPerPixel;
    return Picture{
        std::exchange(m_data, QByteArray()), png, header->pixels,
        QSizeF(displayLength(m_goalWidth, m_scaleX), displayLength(m_goalHeight, m_scaleY))};
}

// A goal size in RTF length units, scaled in percent, as pixels; 0 when there is none.
qreal PictureReader::displayLength(int goal, int scale) const
{
    if (goal <= 0)
        return 0;
    const int length = std::min(goal, limits::MaxRtfLength);
    const int percent = scale > 0 ? std::min(scale, limits::MaxPictureScale) : 100;
    return units::pixelsFromRtfLength(length) * percent / 100;
}

} // namespace fosdat::rtf
