#include "RtfTables.h"

#include "RtfCodePages.h"
#include "RtfLimits.h"

#include <algorithm>

namespace fosdat::rtf
{

void FontTable::beginEntry(int index, int documentCodePage)
{
    endEntry();
    m_open = true;
    m_index = index;
    m_codePage = 0;
    m_documentCodePage = documentCodePage;
    m_family.clear();
    m_name.clear();
}

void FontTable::setCharset(int charset)
{
    if (m_open && m_codePage == 0)
        m_codePage = codePageForCharset(charset);
}

// \cpgN names the code page directly and wins over the charset.
void FontTable::setCodePage(int codePage)
{
    if (m_open && isKnownCodePage(codePage))
        m_codePage = codePage;
}

void FontTable::appendName(QByteArrayView bytes)
{
    if (!m_open)
        return;
    const qsizetype end = bytes.indexOf(';');
    const QByteArrayView name = end < 0 ? bytes : bytes.first(end);
    const qsizetype room = limits::MaxFontNameBytes - m_name.size() - m_family.size();
    m_name.append(name.first(std::min(name.size(), std::max(room, qsizetype(0)))));
    if (end >= 0)
        endEntry();
}

void FontTable::appendUnit(char16_t unit)
{
    if (!m_open || m_name.size() + m_family.size() >= limits::MaxFontNameBytes)
        return;
    decodeName();
    m_family.append(QChar(unit));
}

void FontTable::decodeName()
{
    m_decoders.decodeAppend(m_name, m_codePage ? m_codePage : m_documentCodePage, m_family);
    m_name.clear();
}

void FontTable::endEntry()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_fonts.size() >= limits::MaxFonts && !m_fonts.contains(m_index))
        return;
    decodeName();
    FontEntry entry;
    entry.codePage = m_codePage;
    entry.family = m_family.trimmed();
    m_fonts.insert(m_index, entry);
}

const FontEntry *FontTable::find(int index) const
{
    const auto it = m_fonts.constFind(index);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

void ColorTable::setComponent(ColorWord component, int value)
{
    value = std::clamp(value, 0, 255);
    switch (component) {
    case ColorWord::Red:
        m_red = value;
        break;
    case ColorWord::Green:
        m_green = value;
        break;
    case ColorWord::Blue:
        m_blue = value;
        break;
    }
    m_hasComponents = true;
}

void ColorTable::endEntry()
{
    if (m_colors.size() < limits::MaxColors)
        m_colors.append(m_hasComponents ? m_red << 16 | m_green << 8 | m_blue : NoColor);
    m_red = m_green = m_blue = 0;
    m_hasComponents = false;
}

void ColorTable::endTable()
{
    if (m_hasComponents)
        endEntry();
}

Rgb ColorTable::color(int index) const
{
    return index >= 0 && index < m_colors.size() ? m_colors.at(index) : NoColor;
}

} // namespace fosdat::rtf
