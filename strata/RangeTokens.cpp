#include "RangeTokens.h"

namespace fosdat::strata
{

namespace tokens
{

bool isDash(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'-' || (u >= 0x2010 && u <= 0x2015) || u == 0x2212;
}

} // namespace tokens

namespace
{

using tokens::isDigit;
using tokens::isLetter;

TokenKind kindOf(QChar c)
{
    if (isLetter(c))
        return TokenKind::Word;
    if (isDigit(c))
        return TokenKind::Number;
    switch (c.unicode()) {
    case u'?':
        return TokenKind::Question;
    case u'(':
        return TokenKind::Open;
    case u')':
        return TokenKind::Close;
    case u'.':
        return TokenKind::Dot;
    default:
        return tokens::isDash(c) ? TokenKind::Dash : TokenKind::Other;
    }
}

} // namespace

Tokens tokenize(QStringView text, qsizetype from, qsizetype to)
{
    Tokens result;
    bool space = false;
    for (qsizetype i = from; i < to;) {
        const QChar c = text[i];
        if (tokens::isBlank(c)) {
            space = true;
            ++i;
            continue;
        }
        const TokenKind kind = kindOf(c);
        qsizetype end = i + 1;
        if (kind == TokenKind::Word) {
            while (end < to && (isLetter(text[end]) || isDigit(text[end])))
                ++end;
        } else if (kind == TokenKind::Number) {
            while (end < to && isDigit(text[end]))
                ++end;
        }
        result.append({kind, space, qint32(i), qint32(end)});
        space = false;
        i = end;
    }
    return result;
}

} // namespace fosdat::strata
