#include "ByteText.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace fosdat
{

namespace
{

// Folded bytes of characters that fold to one without a byte; no folded
// character is a capital.
constexpr char Unfoldable = 'A';

struct Tables {
    std::array<char16_t, 256> characters{};
    std::array<char, 256> folded{};
    std::array<bool, 256> wordByte{};
    std::array<bool, 256> unfoldable{};
    std::array<short, 0x10000> byteOf; // -1: none

    Tables()
    {
        byteOf.fill(-1);
        for (int byte = 0; byte < 0x80; ++byte)
            characters[size_t(byte)] = char16_t(byte);
        QByteArray upper;
        for (int byte = 0x80; byte < 0x100; ++byte)
            upper.append(char(byte));
        const QString decoded =
            QStringDecoder("windows-1251", QStringDecoder::Flag::Stateless).decode(upper);
        for (qsizetype i = 0; i < decoded.size() && i < 0x80; ++i)
            characters[size_t(0x80 + i)] = decoded.at(i).unicode();
        // The byte that the code page leaves undefined stands for the line
        // break inside a paragraph.
        const auto undefined =
            std::find_if(characters.begin() + 0x80, characters.end(), [](char16_t c) {
                return c == QChar::ReplacementCharacter || (c >= 0x80 && c < 0xA0);
            });
        if (undefined != characters.end())
            *undefined = QChar::LineSeparator;
        for (size_t byte = 0; byte < 256; ++byte) {
            if (byteOf[characters[byte]] < 0)
                byteOf[characters[byte]] = short(byte);
        }
        for (size_t byte = 0; byte < 256; ++byte) {
            const QChar c(characters[byte]);
            const short fold = byteOf[c.toCaseFolded().unicode()];
            unfoldable[byte] = fold < 0;
            folded[byte] = unfoldable[byte] ? Unfoldable : char(fold);
            wordByte[byte] = c.isLetterOrNumber();
        }
    }
};

const Tables &tables()
{
    static const Tables instance;
    return instance;
}

} // namespace

std::optional<char> ByteText::byteOf(QChar c)
{
    const short byte = tables().byteOf[c.unicode()];
    return byte < 0 ? std::nullopt : std::optional(char(byte));
}

std::optional<char> ByteText::foldedByteOf(QChar c)
{
    return byteOf(c.toCaseFolded());
}

QChar ByteText::characterOf(char byte)
{
    return QChar(tables().characters[static_cast<unsigned char>(byte)]);
}

bool ByteText::isWordByte(char byte)
{
    return tables().wordByte[static_cast<unsigned char>(byte)];
}

std::optional<ByteText> ByteText::fromText(QStringView text)
{
    const Tables &t = tables();
    ByteText result;
    // Allocated to the size: resize() would leave room to grow.
    result.m_bytes = QByteArray(text.size(), Qt::Uninitialized);
    result.m_folded = QByteArray(text.size(), Qt::Uninitialized);
    char *bytes = result.m_bytes.data();
    char *folded = result.m_folded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const short byte = t.byteOf[text[i].unicode()];
        if (byte < 0)
            return std::nullopt;
        bytes[i] = char(byte);
        folded[i] = t.folded[size_t(byte)];
        result.m_unfoldable = result.m_unfoldable || t.unfoldable[size_t(byte)];
    }
    return result;
}

QString ByteText::mid(qsizetype from, qsizetype length) const
{
    const Tables &t = tables();
    from = std::clamp<qsizetype>(from, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - from);
    QString text(length, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < length; ++i)
        out[i] = QChar(t.characters[static_cast<unsigned char>(m_bytes[from + i])]);
    return text;
}

} // namespace fosdat
