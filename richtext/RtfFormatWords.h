#pragma once

#include "RtfControlWords.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextOption>

// How character and paragraph control words map onto Qt formats. A property
// that is switched off or set to its default is cleared rather than stored,
// so equal-looking text always has equal formats.
namespace fosdat::rtf
{

// A character word that needs neither the font nor the color table; `on` is
// false for a parameter of 0 (\b0, \ul0 ...).
void applyCharacterWord(QTextCharFormat &chars, CharacterWord word, bool on, int parameter);

// \cfN (Foreground) or \cbN, \highlightN, \chcbpatN (Background); an invalid
// color is the automatic one.
void setColor(QTextCharFormat &chars, CharacterWord word, const QColor &color);

void applyParagraphWord(QTextBlockFormat &block, ParagraphWord word, int parameter);

// A tab stop word. `kind` carries the kind a \tqr, \tqc or \tqdec gives to
// the next stop, which \txN sets at its position; \pard resets it to a left tab.
void applyTabWord(QTextBlockFormat &block, QTextOption::TabType &kind, TabWord word, int parameter);

} // namespace fosdat::rtf
