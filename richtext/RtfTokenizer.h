#pragma once

#include <QByteArrayView>

namespace fosdat::rtf
{

enum class TokenKind : quint8 {
    GroupOpen,     // {
    GroupClose,    // }
    ControlWord,   // \name or \nameN; an over-long name is reported empty
    ControlSymbol, // \ and one non-letter: \~ \- \_ \* \{ \} \\ ...; \<newline> as '\n'
    Text,          // a run of plain bytes, line breaks of the file left out
    HexByte,       // \'hh
    Binary,        // the data of \binN, at most the bytes that are left
};

// The value of one hexadecimal digit, or -1.
int hexDigitValue(char c);

struct Token {
    TokenKind kind = TokenKind::Text;
    qsizetype offset = 0; // byte offset of the token's first byte in the input
    QByteArrayView bytes; // ControlWord: name; Text: the run; Binary: the data
    int parameter = 0;    // ControlWord: clamped to 32 bits; Binary: the requested size
    bool hasParameter = false;
    char symbol = 0; // ControlSymbol: the character after the backslash
    uchar byte = 0;  // HexByte: its value
};

// Splits RTF bytes into tokens. It knows nothing of documents except that the
// data of \binN is raw and must not be tokenized.
class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView input) : m_input(input) {}

    // Reads the next token; false at the end of the input.
    bool next(Token &token);

private:
    bool readControl(Token &token);
    bool readHex(Token &token);
    void readWord(Token &token);
    void readParameter(Token &token);
    void readBinary(Token &token);
    void readText(Token &token);

    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace fosdat::rtf
