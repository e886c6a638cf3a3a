#pragma once

#include "RtfControlWords.h"
#include "RtfFormats.h"

// How character and paragraph control words change the reader's formats. A
// property that is switched off or set to its default returns to "not set",
// so equal-looking text always has equal formats.
namespace fosdat::rtf
{

// A character word that needs neither the font nor the color table; `on` is
// false for a parameter of 0 (\b0, \ul0 ...).
void applyCharacterWord(CharFormat &chars, CharacterWord word, bool on, int parameter);

// \cfN (Foreground) or \cbN, \highlightN, \chcbpatN (Background).
void setColor(CharFormat &chars, CharacterWord word, Rgb color);

void applyParagraphWord(BlockFormat &block, ParagraphWord word, int parameter);

// A tab stop word. `kind` carries the kind a \tqr, \tqc or \tqdec gives to
// the next stop, which \txN sets at its position; \pard resets it to a left tab.
void applyTabWord(BlockFormat &block, TabKind &kind, TabWord word, int parameter);

} // namespace fosdat::rtf
