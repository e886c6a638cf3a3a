#include "RangeTokens.h"

#include <array>

namespace fosdat::strata
{

namespace
{

using tokens::isDigit;
using tokens::isLetter;

// What a character is to the tokenizer: the kind of token it begins, or a
// blank.
enum class CharClass : quint8 { Word, Question, Open, Close, Dash, Dot, Number, Other, Blank };
static_assert(int(CharClass::Other) == int(TokenKind::Other));

constexpr CharClass classOf(QChar c)
{
    if (tokens::isBlank(c))
        return CharClass::Blank;
    if (isLetter(c))
        return CharClass::Word;
    if (isDigit(c))
        return CharClass::Number;
    switch (c.unicode()) {
    case u'?':
        return CharClass::Question;
    case u'(':
        return CharClass::Open;
    case u')':
        return CharClass::Close;
    case u'.':
        return CharClass::Dot;
    default:
        return tokens::isDash(c) ? CharClass::Dash : CharClass::Other;
    }
}

// classOf() of every ASCII character, looked up rather than worked out: most
// of an entry is ASCII, and its every character is classed.
constexpr auto AsciiClasses = [] {
    std::array<CharClass, 0x80> classes{};
    for (char16_t u = 0; u < 0x80; ++u)
        classes[u] = classOf(QChar(u));
    return classes;
}();

CharClass classAt(QStringView text, qsizetype at)
{
    const char16_t u = text[at].unicode();
    return u < 0x80 ? AsciiClasses[u] : classOf(text[at]);
}

// Letters, marks and digits run on in a word.
bool continuesWord(CharClass c)
{
    return c == CharClass::Word || c == CharClass::Number;
}

} // namespace

Tokens tokenize(QStringView text, qsizetype from, qsizetype to)
{
    Tokens result;
    bool space = false;
    for (qsizetype i = from; i < to;) {
        const CharClass kind = classAt(text, i);
        if (kind == CharClass::Blank) {
            space = true;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        if (kind == CharClass::Word) {
            while (end < to && continuesWord(classAt(text, end)))
                ++end;
        } else if (kind == CharClass::Number) {
            while (end < to && isDigit(text[end]))
                ++end;
        }
        result.append({TokenKind(kind), space, qint32(i), qint32(end)});
        space = false;
        i = end;
    }
    return result;
}

} // namespace fosdat::strata
