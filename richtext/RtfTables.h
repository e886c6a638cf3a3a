#pragma once

#include "RtfControlWords.h"
#include "RtfFormats.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace fosdat::rtf
{

class DecoderCache;

struct FontEntry {
    QString family;
    int codePage = 0; // 0: the document's code page applies
};

// The fonts of \fonttbl. An entry is \fN, its properties and its name up to ';'
// (or the end of its group); it is committed then. A name is bytes in the
// font's code page, \uN characters among them.
class FontTable
{
public:
    explicit FontTable(DecoderCache &decoders) : m_decoders(decoders) {}

    void beginEntry(int index, int documentCodePage);
    void setCharset(int charset);
    void setCodePage(int codePage);
    // Name bytes; a ';' among them ends the entry.
    void appendName(QByteArrayView bytes);
    // A UTF-16 code unit of the name, given as \uN.
    void appendUnit(char16_t unit);
    void endEntry();

    const FontEntry *find(int index) const;

private:
    void decodeName();

    DecoderCache &m_decoders;
    QHash<int, FontEntry> m_fonts;
    bool m_open = false;
    int m_index = 0;
    int m_codePage = 0;
    int m_documentCodePage = 0;
    QString m_family;  // the name decoded so far
    QByteArray m_name; // bytes of the name that follow m_family
};

// The colors of \colortbl, by position. An entry without components is the
// automatic color, NoColor.
class ColorTable
{
public:
    void setComponent(ColorWord component, int value);
    // A ';' ends the entry being built.
    void endEntry();
    // Ends the table: an entry with components but no ';' still counts.
    void endTable();

    Rgb color(int index) const;

private:
    QList<Rgb> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_hasComponents = false;
};

} // namespace fosdat::rtf
