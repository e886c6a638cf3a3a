#include "RtfPicture.h"

#include "RtfLimits.h"
#include "RtfTokenizer.h"
#include "RtfUnits.h"

#include <QBuffer>
#include <QImageReader>

namespace fosdat::rtf
{

namespace
{

// The data must start like its kind (a PNG with its header chunk); decoders
// are not even asked otherwise.
bool hasSignature(const QByteArray &data, bool png)
{
    if (!png)
        return data.startsWith("\xff\xd8\xff");
    return data.startsWith("\x89PNG\r\n\x1a\n") && data.mid(12, 4) == "IHDR";
}

// The scans (start-of-scan markers) of a JPEG, counted up to `limit` + 1 by
// walking its segments: the lengths of the segments are skipped, so bytes
// inside them are not taken for markers, and a scan's entropy-coded data
// ends at the first marker that is neither a stuffed 0xFF nor a restart.
int jpegScans(const QByteArray &data, int limit)
{
    const auto byte = [&](qsizetype at) { return quint8(data.at(at)); };
    int scans = 0;
    qsizetype at = 2; // after the start-of-image marker
    while (at + 3 < data.size() && scans <= limit) {
        if (byte(at) != 0xff)
            return scans; // not a marker: the data is damaged, the decoder will tell
        const quint8 marker = byte(at + 1);
        if (marker == 0xd9) // end of image
            break;
        if (marker == 0xff || (marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) {
            at += marker == 0xff ? 1 : 2; // fill byte, or a marker without a length
            continue;
        }
        at += 2 + (byte(at + 2) << 8 | byte(at + 3));
        if (marker != 0xda)
            continue;
        ++scans;
        for (; at + 1 < data.size(); ++at) {
            const quint8 next = byte(at + 1);
            if (byte(at) == 0xff && next != 0x00 && !(next >= 0xd0 && next <= 0xd7))
                break;
        }
    }
    return scans;
}

// Bytes of the image `reader` will give, from its header, before any decoding.
// A format the reader cannot tell is counted at 8 bytes a pixel, the most of
// any it gives.
qint64 decodedBytes(const QImageReader &reader)
{
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    const qint64 bitsPerPixel =
        format == QImage::Format_Invalid ? 64 : QImage::toPixelFormat(format).bitsPerPixel();
    return qint64(size.width()) * size.height() * bitsPerPixel / 8;
}

} // namespace

qreal Picture::shownHeight() const
{
    if (size.height() > 0)
        return size.height();
    if (size.width() > 0 && image.width() > 0)
        return size.width() * image.height() / image.width();
    return image.height();
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
    if (m_format == Format::Other || !hasSignature(m_data, m_format == Format::Png))
        return std::nullopt;
    if (m_format == Format::Jpeg && jpegScans(m_data, limits::MaxJpegScans) > limits::MaxJpegScans)
        return std::nullopt;
    QBuffer buffer(&m_data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format == Format::Png ? "png" : "jpeg");
    const qint64 bytes = decodedBytes(reader); // read from the header, before any decoding
    if (reader.size().isEmpty() || bytes > limits::MaxPictureBytes || bytes > byteBudget)
        return std::nullopt;
    Picture picture;
    if (!reader.read(&picture.image))
        return std::nullopt;
    byteBudget -= picture.image.sizeInBytes();
    picture.size =
        QSizeF(displayLength(m_goalWidth, m_scaleX), displayLength(m_goalHeight, m_scaleY));
    return picture;
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
