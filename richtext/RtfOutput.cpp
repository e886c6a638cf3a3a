#include "RtfOutput.h"

#include <QStringDecoder>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace fosdat::rtf
{

namespace
{

// A line is broken at the first safe place past this many bytes: short
// enough for line-oriented tools, long enough to cost little.
constexpr qsizetype LineLimit = 200;
// Hex digits of picture data per line.
constexpr qsizetype HexDigitsPerLine = 128;
// The most one UTF-16 unit of text can take: "\u-32768?" (9 bytes), a
// delimiter before it is never needed, a line break (2) before it.
constexpr qsizetype MaxBytesPerUnit = 11;
// Room for one control word with its parameter and a line break before it.
constexpr qsizetype MaxWordBytes = 48;
// Every character of Windows-1251 lies below U+2200 (the highest is U+2122).
constexpr char16_t Windows1251Limit = 0x2200;

constexpr char HexDigits[] = "0123456789abcdef";

// How a UTF-16 unit of text is written.
enum class UnitKind : unsigned char {
    Plain,   // as itself: printable ASCII other than \ { }
    Byte,    // as \'hh: the other ASCII and the Windows-1251 characters
    Special, // as a control word or symbol: see specialEscape()
    Unicode, // as \uN?
};

struct UnitEntry {
    UnitKind kind = UnitKind::Unicode;
    unsigned char byte = 0; // for Plain and Byte
};

// The kind of every unit below Windows1251Limit; all above are Unicode.
using UnitTable = std::array<UnitEntry, Windows1251Limit>;

// "\'hh" for every byte.
using ByteEscapes = std::array<std::array<char, 4>, 256>;

constexpr ByteEscapes buildByteEscapes()
{
    ByteEscapes escapes{};
    for (int byte = 0; byte < 256; ++byte)
        escapes[byte] = {'\\', '\'', HexDigits[byte >> 4], HexDigits[byte & 0xf]};
    return escapes;
}

constexpr ByteEscapes ByteEscape = buildByteEscapes();

UnitTable buildUnitTable()
{
    UnitTable table{};
    for (char16_t unit = 0; unit < 0x80; ++unit) {
        const bool plain =
            unit >= 0x20 && unit < 0x7f && unit != u'\\' && unit != u'{' && unit != u'}';
        table[unit] = {plain ? UnitKind::Plain : UnitKind::Byte, static_cast<unsigned char>(unit)};
    }
    QStringDecoder decoder("windows-1251");
    for (int byte = 0x80; byte <= 0xff; ++byte) {
        const char c = char(byte);
        const QString decoded = decoder.decode(QByteArrayView(&c, 1));
        if (decoded.size() != 1)
            continue;
        const char16_t unit = decoded.front().unicode();
        if (unit >= 0x80 && unit < Windows1251Limit && unit != QChar::ReplacementCharacter)
            table[unit] = {UnitKind::Byte, static_cast<unsigned char>(byte)};
    }
    for (const char16_t unit :
         {u'\\', u'{', u'}', u'\t', u'\u2028', u'\u00a0', u'\u00ad', u'\u2011'})
        table[unit] = {UnitKind::Special, 0};
    return table;
}

const UnitTable &unitTable()
{
    static const UnitTable table = buildUnitTable();
    return table;
}

bool isAsciiAlnum(char16_t unit)
{
    return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'z') ||
           (unit >= 'A' && unit <= 'Z');
}

char *put(char *out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char *putHexByte(char *out, unsigned char byte)
{
    std::memcpy(out, ByteEscape[byte].data() + 2, 2);
    return out + 2;
}

char *putNumber(char *out, int value)
{
    // Callers reserve room for the widest int.
    return std::to_chars(out, out + 12, value).ptr;
}

// The control word or symbol (after its backslash) that stands for a
// character of the text, and whether it is a word that needs a delimiter.
struct Escape {
    std::string_view rtf;
    bool isWord = false;
};

Escape specialEscape(char16_t unit)
{
    switch (unit) {
    case u'\\':
        return {"\\"};
    case u'{':
        return {"{"};
    case u'}':
        return {"}"};
    case u'\t':
        return {"tab", true};
    case u'\u2028': // line separator: a line break within the paragraph
        return {"line", true};
    case u'\u00a0':
        return {"~"};
    case u'\u00ad':
        return {"-"};
    case u'\u2011':
        return {"_"};
    default:
        return {};
    }
}

} // namespace

RtfOutput::RtfOutput(qsizetype expectedSize)
{
    m_bytes.resize(qMax<qsizetype>(expectedSize, 256));
}

char *RtfOutput::reserve(qsizetype count)
{
    if (m_bytes.size() - m_size < count)
        m_bytes.resize(qMax(m_bytes.size() * 2, m_size + count));
    return m_bytes.data() + m_size;
}

void RtfOutput::breakLongLine()
{
    if (lineLength() < LineLimit)
        return;
    char *out = reserve(2);
    *out++ = '\r';
    *out++ = '\n';
    commit(out);
    m_lineStart = m_size;
}

void RtfOutput::lineBreak()
{
    char *out = reserve(2);
    *out++ = '\r';
    *out++ = '\n';
    commit(out);
    m_lineStart = m_size;
    m_wordOpen = false;
}

void RtfOutput::openGroup()
{
    breakLongLine();
    *reserve(1) = '{';
    ++m_size;
    m_wordOpen = false;
}

void RtfOutput::closeGroup()
{
    breakLongLine();
    *reserve(1) = '}';
    ++m_size;
    m_wordOpen = false;
}

void RtfOutput::word(std::string_view name)
{
    breakLongLine();
    char *out = reserve(qsizetype(name.size()) + 1);
    *out++ = '\\';
    commit(put(out, name));
    m_wordOpen = true;
}

void RtfOutput::word(std::string_view name, int parameter)
{
    breakLongLine();
    char *out = reserve(qsizetype(name.size()) + MaxWordBytes);
    *out++ = '\\';
    commit(putNumber(put(out, name), parameter));
    m_wordOpen = true;
}

void RtfOutput::text(QStringView text)
{
    const UnitTable &table = unitTable();
    char *const start = reserve(text.size() * MaxBytesPerUnit);
    const qsizetype offset = m_size;
    char *out = start;
    qsizetype lineStart = m_lineStart - offset; // relative to start
    bool wordOpen = m_wordOpen;
    const auto breakLine = [&] {
        if ((out - start) - lineStart < LineLimit)
            return;
        *out++ = '\r';
        *out++ = '\n';
        lineStart = out - start;
    };

    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        const UnitEntry entry = unit < Windows1251Limit ? table[unit] : UnitEntry{};
        switch (entry.kind) {
        case UnitKind::Plain:
            if (wordOpen && (unit == u' ' || unit == u'-' || isAsciiAlnum(unit)))
                *out++ = ' ';
            wordOpen = false;
            *out++ = char(unit);
            if (unit == u' ')
                breakLine();
            break;
        case UnitKind::Byte:
            breakLine();
            std::memcpy(out, ByteEscape[entry.byte].data(), 4);
            out += 4;
            wordOpen = false;
            break;
        case UnitKind::Special: {
            breakLine();
            const Escape escape = specialEscape(unit);
            *out++ = '\\';
            out = put(out, escape.rtf);
            wordOpen = escape.isWord;
            break;
        }
        case UnitKind::Unicode:
            breakLine();
            out = put(out, "\\u");
            out = putNumber(out, static_cast<int16_t>(unit));
            *out++ = '?'; // what a reader without Unicode shows; skipped by \uc1
            wordOpen = false;
            break;
        }
    }
    m_lineStart = offset + lineStart;
    m_wordOpen = wordOpen;
    commit(out);
}

void RtfOutput::hex(QByteArrayView data)
{
    constexpr qsizetype BytesPerLine = HexDigitsPerLine / 2;
    char *out = reserve(data.size() * 2 + (data.size() / BytesPerLine + 1) * 2 + 1);
    if (m_wordOpen)
        *out++ = ' ';
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i % BytesPerLine == 0) {
            *out++ = '\r';
            *out++ = '\n';
            m_lineStart = out - m_bytes.constData();
        }
        out = putHexByte(out, static_cast<unsigned char>(data[i]));
    }
    commit(out);
    m_wordOpen = false;
}

QByteArray RtfOutput::take()
{
    m_bytes.resize(m_size);
    m_size = 0;
    m_lineStart = 0;
    m_wordOpen = false;
    return std::exchange(m_bytes, QByteArray());
}

} // namespace fosdat::rtf
