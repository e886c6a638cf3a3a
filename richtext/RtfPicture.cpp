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

} // namespace

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

std::optional<Picture> PictureReader::finish(qint64 &pixelBudget)
{
    if (m_format == Format::Other || !hasSignature(m_data, m_format == Format::Png))
        return std::nullopt;
    QBuffer buffer(&m_data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format == Format::Png ? "png" : "jpeg");
    const QSize size = reader.size(); // read from the header, before any decoding
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.isEmpty() || pixels > limits::MaxPicturePixels || pixels > pixelBudget)
        return std::nullopt;
    Picture picture;
    if (!reader.read(&picture.image))
        return std::nullopt;
    pixelBudget -= pixels;
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
