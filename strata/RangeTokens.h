#pragma once

#include <QStringView>
#include <QVarLengthArray>
#include <array>

namespace fosdat::strata
{

struct Unit;
struct Period;

// The pieces of a catalogue line after the genus name, for finding its
// range, references and family note: one pass over the characters, then
// all work on a few tokens.
enum class TokenKind : quint8 { Word, Question, Open, Close, Dash, Dot, Number, Other };

// Positions within a catalogue's text, which the data files' size limit keeps
// far below 2^31 characters.
struct Token {
    TokenKind kind;
    bool spaceBefore;
    // What the time scale knows of a word, looked up at the first question.
    bool unitLooked = false;
    bool periodLooked = false;
    int start;
    int end;
    const Unit *unit = nullptr;
    const Period *period = nullptr;
};

using Tokens = QVarLengthArray<Token, 48>;

namespace tokens
{

// Hyphen, non-breaking hyphen, figure dash, en and em dash, horizontal bar,
// minus: the same separator in a range.
constexpr bool isDash(char16_t c)
{
    return c == u'-' || (c >= u'\u2010' && c <= u'\u2015') || c == u'\u2212';
}

constexpr TokenKind kindOfAscii(char16_t u)
{
    if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'))
        return TokenKind::Word;
    if (u >= u'0' && u <= u'9')
        return TokenKind::Number;
    switch (u) {
    case u'-':
        return TokenKind::Dash;
    case u'?':
        return TokenKind::Question;
    case u'(':
        return TokenKind::Open;
    case u')':
        return TokenKind::Close;
    case u'.':
        return TokenKind::Dot;
    default:
        return TokenKind::Other;
    }
}

// What an ASCII character is to the tokenizer: a blank (as isSpace()
// below), or the kind of token it begins, and whether a word goes on with it.
struct AsciiClass {
    bool blank = false;
    TokenKind kind = TokenKind::Other;
    bool inWord = false;
};

inline constexpr auto AsciiClasses = [] {
    std::array<AsciiClass, 128> classes{};
    for (char16_t u = 0; u < 128; ++u) {
        const TokenKind kind = kindOfAscii(u);
        classes[u] = {u == u' ' || (u >= 9 && u <= 13), kind,
                      kind == TokenKind::Word || kind == TokenKind::Number};
    }
    return classes;
}();

inline TokenKind kindOf(char16_t u)
{
    if (u < 128)
        return AsciiClasses[u].kind;
    const QChar c(u);
    if (c.isLetter() || c.isMark())
        return TokenKind::Word;
    return isDash(u) ? TokenKind::Dash : TokenKind::Other; // other digits too
}

inline bool isSpace(char16_t u)
{
    return u < 128 ? AsciiClasses[u].blank : QChar(u).isSpace();
}

// Whether a word goes on with this character: letters, marks and digits.
inline bool continuesWord(char16_t u)
{
    return u < 128 ? AsciiClasses[u].inWord : kindOf(u) == TokenKind::Word;
}

// The end of the token of `kind` that begins at chars[at]: a word goes on
// through letters, marks and digits, a number through digits; every other
// token is one character.
inline qsizetype tokenEnd(const char16_t *chars, qsizetype at, qsizetype to, TokenKind kind)
{
    qsizetype end = at + 1;
    if (kind == TokenKind::Word) {
        while (end < to && continuesWord(chars[end]))
            ++end;
    } else if (kind == TokenKind::Number) {
        while (end < to && chars[end] >= u'0' && chars[end] <= u'9')
            ++end;
    }
    return end;
}

} // namespace tokens

// The value of a number token of a few digits.
inline int numberValue(QStringView text, const Token &token)
{
    int value = 0;
    for (qsizetype i = token.start; i < token.end && value < 100000; ++i)
        value = value * 10 + (text[i].unicode() - u'0');
    return value;
}

// Whether text[at] opens a list of references, "(206, 553, 1020)": numbers
// of 1 to 1200 separated by commas, semicolons or blanks, nothing else. Its
// closing parenthesis, or -1.
inline qsizetype referencesClose(QStringView text, qsizetype at, qsizetype to)
{
    const char16_t *chars = text.utf16();
    int numbers = 0;
    for (qsizetype i = at + 1; i < to;) {
        const char16_t c = chars[i];
        if (c == u')')
            return numbers > 0 ? i : -1;
        if (c == u',' || c == u';' || tokens::isSpace(c)) {
            ++i;
            continue;
        }
        if (c < u'1' || c > u'9')
            return -1;
        int value = 0;
        for (; i < to && chars[i] >= u'0' && chars[i] <= u'9' && value <= 1200; ++i)
            value = value * 10 + (chars[i] - u'0');
        if (value > 1200)
            return -1;
        ++numbers;
    }
    return -1;
}

// The tokens of text[from, to), up to the first list of references, whose
// parentheses `references` and `referencesEnd` receive (-1 when there is
// none). A word may hold digits after its first letter ("Cm02"); a number is
// digits only ("1975" in "1975a").
inline Tokens tokenize(QStringView text, qsizetype from, qsizetype to,
                       qsizetype *references = nullptr, qsizetype *referencesEnd = nullptr)
{
    Tokens result;
    const char16_t *chars = text.utf16();
    bool space = false;
    if (references)
        *references = -1;
    if (referencesEnd)
        *referencesEnd = -1;
    for (qsizetype i = from; i < to;) {
        const char16_t c = chars[i];
        if (tokens::isSpace(c)) {
            space = true;
            ++i;
            continue;
        }
        const TokenKind kind = tokens::kindOf(c);
        if (kind == TokenKind::Open && references && i + 1 < to && chars[i + 1] >= u'1' &&
            chars[i + 1] <= u'9') {
            if (const qsizetype close = referencesClose(text, i, to); close >= 0) {
                *references = i;
                if (referencesEnd)
                    *referencesEnd = close;
                break;
            }
        }
        const qsizetype end = tokens::tokenEnd(chars, i, to, kind);
        result.append({kind, space, false, false, int(i), int(end), nullptr, nullptr});
        space = false;
        i = end;
    }
    return result;
}

} // namespace fosdat::strata
