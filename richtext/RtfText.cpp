#include "RtfText.h"

#include "RtfContentReader.h"
#include "RtfDocumentBuilder.h"

namespace fosdat::rtf
{

namespace
{

// The text alone, paragraphs ended by '\n' but the last, pictures left out:
// what a converter to plain text needs, without the cost of a document.
class PlainTextTarget final : public ContentTarget
{
public:
    void formatFirstBlock(const TextFormats &) override {}
    void setBlockFormat(const BlockFormat &) override {}
    void insertBlock(const TextFormats &) override { m_text += u'\n'; }
    void splitBlock(qsizetype units, const TextFormats &) override
    {
        m_text.insert(m_text.size() - units, u'\n');
    }
    void insertText(const QString &text, const CharFormat &) override { m_text += text; }
    void insertPicture(const Picture &) override {}

    QString &text() { return m_text; }

private:
    QString m_text;
};

} // namespace

std::optional<QString> readText(QByteArrayView bytes)
{
    const std::optional<QByteArrayView> rtf = rtfStart(bytes);
    if (!rtf)
        return std::nullopt;
    PlainTextTarget target;
    readContent(*rtf, target, std::nullopt);
    return std::move(target.text());
}

} // namespace fosdat::rtf
