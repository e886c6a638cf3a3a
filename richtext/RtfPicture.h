#pragma once

#include "RtfControlWords.h"

#include <QByteArray>
#include <QSize>
#include <QSizeF>
#include <optional>

namespace fosdat::rtf
{

// A PNG or JPEG picture of the text, still encoded: whether it is shown and
// how tall is known from its header, so that every reading counts it alike;
// only a document decodes it.
struct Picture {
    QByteArray data;
    bool png = false; // else JPEG
    QSize pixels;     // from the header
    QSizeF size;      // display size in pixels; a zero side means the image's own

    // The height the picture is shown at, in pixels.
    qreal shownHeight() const;
};

// Collects one \pict group. Only PNG and JPEG data are kept; the data of any
// other kind of picture is dropped as it arrives.
class PictureReader
{
public:
    void begin();
    void setWord(PictureWord word, int parameter);
    void appendHex(QByteArrayView text); // hex digits; anything else is ignored
    void appendBinary(QByteArrayView data);

    // The picture, when its header gives a size, its decoded bytes would fit
    // both the per-picture limit and `byteBudget`, which it then reduces,
    // and a JPEG has no more scans than allowed.
    std::optional<Picture> finish(qint64 &byteBudget);

private:
    enum class Format : quint8 { Other, Png, Jpeg };

    qreal displayLength(int goal, int scale) const;

    Format m_format = Format::Other;
    QByteArray m_data;
    int m_highNibble = -1;
    int m_goalWidth = 0;
    int m_goalHeight = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
};

} // namespace fosdat::rtf
