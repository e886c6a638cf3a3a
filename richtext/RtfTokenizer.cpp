#include "RtfTokenizer.h"

#include "RtfLimits.h"

#include <algorithm>
#include <climits>

namespace fosdat::rtf
{

namespace
{

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool endsText(char c)
{
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

constexpr qint64 parameterCap()
{
    qint64 cap = 1;
    for (int i = 0; i < limits::MaxParameterDigits; ++i)
        cap *= 10;
    return cap; // one more than the largest value of MaxParameterDigits digits
}

} // namespace

int hexDigitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Tokenizer::next(Token &token)
{
    const qsizetype size = m_input.size();
    while (m_pos < size) {
        token = Token();
        token.offset = m_pos;
        switch (m_input[m_pos]) {
        case '{':
            ++m_pos;
            token.kind = TokenKind::GroupOpen;
            return true;
        case '}':
            ++m_pos;
            token.kind = TokenKind::GroupClose;
            return true;
        case '\r':
        case '\n':
            ++m_pos; // line breaks in the file carry no meaning
            break;
        case '\\':
            if (readControl(token))
                return true;
            break;
        default:
            readText(token);
            return true;
        }
    }
    return false;
}

// Reads what follows a backslash. Returns false when it yields no token: a
// backslash at the end, or \' without two hex digits.
bool Tokenizer::readControl(Token &token)
{
    const qsizetype size = m_input.size();
    ++m_pos;
    if (m_pos >= size)
        return false;
    const char c = m_input[m_pos];
    if (isLetter(c)) {
        readWord(token);
        return true;
    }
    ++m_pos;
    if (c == '\'')
        return readHex(token);
    token.kind = TokenKind::ControlSymbol;
    token.symbol = c == '\r' ? '\n' : c;
    return true;
}

// \'hh. With fewer than two hex digits the sequence and its one digit are
// dropped (a truncated byte); anything else after it is read on as text.
bool Tokenizer::readHex(Token &token)
{
    const qsizetype size = m_input.size();
    const int high = m_pos < size ? hexDigitValue(m_input[m_pos]) : -1;
    if (high < 0)
        return false;
    ++m_pos;
    const int low = m_pos < size ? hexDigitValue(m_input[m_pos]) : -1;
    if (low < 0)
        return false;
    ++m_pos;
    token.kind = TokenKind::HexByte;
    token.byte = uchar(high * 16 + low);
    return true;
}

void Tokenizer::readWord(Token &token)
{
    const qsizetype size = m_input.size();
    const qsizetype start = m_pos;
    while (m_pos < size && isLetter(m_input[m_pos]))
        ++m_pos;
    token.kind = TokenKind::ControlWord;
    if (m_pos - start <= limits::MaxControlWordLength)
        token.bytes = m_input.sliced(start, m_pos - start);
    readParameter(token);
    if (m_pos < size && m_input[m_pos] == ' ')
        ++m_pos; // the space that ends a control word belongs to it
    if (token.bytes == "bin")
        readBinary(token);
}

// The parameter: an optional minus and digits. Any number of digits is read;
// the value saturates past MaxParameterDigits and is clamped to 32 bits.
void Tokenizer::readParameter(Token &token)
{
    const qsizetype size = m_input.size();
    qsizetype pos = m_pos;
    const bool negative = pos + 1 < size && m_input[pos] == '-' && isDigit(m_input[pos + 1]);
    if (negative)
        ++pos;
    if (pos >= size || !isDigit(m_input[pos]))
        return;
    qint64 value = 0;
    for (; pos < size && isDigit(m_input[pos]); ++pos)
        value = std::min(value * 10 + (m_input[pos] - '0'), parameterCap());
    m_pos = pos;
    token.hasParameter = true;
    token.parameter =
        negative ? int(std::max(-value, qint64(INT_MIN))) : int(std::min(value, qint64(INT_MAX)));
}

// \binN: the next N bytes are data, never more than what is left.
void Tokenizer::readBinary(Token &token)
{
    const qsizetype wanted = token.hasParameter ? std::max(token.parameter, 0) : 0;
    const qsizetype length = std::min(wanted, m_input.size() - m_pos);
    token.kind = TokenKind::Binary;
    token.bytes = m_input.sliced(m_pos, length);
    m_pos += length;
}

void Tokenizer::readText(Token &token)
{
    const qsizetype size = m_input.size();
    const qsizetype start = m_pos;
    while (m_pos < size && !endsText(m_input[m_pos]))
        ++m_pos;
    token.kind = TokenKind::Text;
    token.bytes = m_input.sliced(start, m_pos - start);
}

} // namespace fosdat::rtf
