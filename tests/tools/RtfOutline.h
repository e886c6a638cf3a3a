#pragma once

// Just enough RTF reading to check the generated catalogues on their own:
// groups, paragraph marks, tabs, bold and italic (page breaks are ignored), \'hh in code page 1251
// and \uN with one fallback character. Destinations (\*, font, color and style tables, document
// info) are skipped.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <utility>

struct RtfRun {
    QString text;
    bool bold = false;
    bool italic = false;

    bool operator==(const RtfRun &) const = default;
};

struct RtfParagraph {
    QList<RtfRun> runs;

    QString text() const
    {
        QString all;
        for (const RtfRun &run : runs)
            all += run.text;
        return all;
    }
    bool operator==(const RtfParagraph &) const = default;
};

struct RtfOutline {
    QList<RtfParagraph> paragraphs;
    QString error; // empty when the document was read to its end

    bool operator==(const RtfOutline &) const = default;
};

class RtfOutlineReader
{
public:
    explicit RtfOutlineReader(const QByteArray &bytes) : m_in(bytes) {}

    RtfOutline read()
    {
        while (m_at < m_in.size() && m_outline.error.isEmpty()) {
            const char c = m_in[m_at++];
            if (c == '{')
                m_stack.append(m_state);
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                escape();
            else if (c != '\r' && c != '\n')
                character(c);
        }
        if (m_outline.error.isEmpty() && !m_stack.isEmpty())
            m_outline.error = QStringLiteral("unclosed group");
        return m_outline;
    }

private:
    struct State {
        bool bold = false;
        bool italic = false;
        bool skip = false;
    };

    void closeGroup()
    {
        if (m_stack.isEmpty()) {
            m_outline.error = QStringLiteral("unbalanced }");
            return;
        }
        m_state = m_stack.takeLast();
        if (m_stack.isEmpty() && m_at != m_in.size() && m_in.mid(m_at) != "\r\n")
            m_outline.error = QStringLiteral("text after the document");
    }

    void escape()
    {
        if (m_at >= m_in.size()) {
            m_outline.error = QStringLiteral("lone backslash");
            return;
        }
        const char c = m_in[m_at];
        if (std::isalpha(uchar(c)))
            return controlWord();
        ++m_at;
        if (c == '\'')
            hex();
        else if (c == '*')
            m_state.skip = true;
        else if (c == '\\' || c == '{' || c == '}')
            character(c);
        else
            m_outline.error = QStringLiteral("unknown control symbol");
    }

    void controlWord()
    {
        QByteArray word;
        while (m_at < m_in.size() && std::isalpha(uchar(m_in[m_at])))
            word += m_in[m_at++];
        QByteArray digits;
        if (m_at < m_in.size() && m_in[m_at] == '-')
            digits += m_in[m_at++];
        while (m_at < m_in.size() && std::isdigit(uchar(m_in[m_at])))
            digits += m_in[m_at++];
        if (m_at < m_in.size() && m_in[m_at] == ' ')
            ++m_at;
        apply(word, digits);
    }

    void apply(const QByteArray &word, const QByteArray &digits)
    {
        if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info")
            m_state.skip = true;
        else if (word == "b")
            m_state.bold = digits != "0";
        else if (word == "i")
            m_state.italic = digits != "0";
        else if (word == "par")
            endParagraph();
        else if (word == "tab")
            append(u'\t');
        else if (word == "u")
            unicode(digits.toInt());
    }

    void unicode(int code)
    {
        append(QChar(char16_t(code)));
        // One fallback character follows, as \uc1 says.
        const qsizetype skip = QByteArrayView(m_in).sliced(m_at).startsWith("\\'") ? 4 : 1;
        m_at = std::min(m_at + skip, m_in.size());
    }

    void hex()
    {
        const auto digit = [&](qsizetype at) {
            return at < m_in.size() ? QByteArrayView("0123456789abcdef").indexOf(m_in[at]) : -1;
        };
        const qsizetype high = digit(m_at);
        const qsizetype low = digit(m_at + 1);
        if (high < 0 || low < 0) {
            m_outline.error = QStringLiteral("bad hex escape");
            return;
        }
        m_at += 2;
        append(cp1251()[high * 16 + low]);
    }

    void character(char c)
    {
        if (uchar(c) >= 0x80)
            m_outline.error = QStringLiteral("8-bit byte in the text");
        else
            append(QChar::fromLatin1(c));
    }

    void append(QChar ch)
    {
        if (m_state.skip)
            return;
        QList<RtfRun> &runs = m_current.runs;
        if (runs.isEmpty() || runs.back().bold != m_state.bold ||
            runs.back().italic != m_state.italic)
            runs.append({QString(), m_state.bold, m_state.italic});
        runs.back().text += ch;
    }

    void endParagraph()
    {
        if (!m_state.skip)
            m_outline.paragraphs.append(std::exchange(m_current, {}));
    }

    static const QString &cp1251()
    {
        static const QString table = [] {
            QByteArray bytes(256, '\0');
            for (int i = 0; i < 256; ++i)
                bytes[i] = char(i);
            QStringDecoder decode("windows-1251");
            return QString(decode(bytes));
        }();
        return table;
    }

    const QByteArray &m_in;
    qsizetype m_at = 0;
    State m_state;
    QList<State> m_stack;
    RtfParagraph m_current;
    RtfOutline m_outline;
};

inline RtfOutline readRtfOutline(const QByteArray &bytes)
{
    return RtfOutlineReader(bytes).read();
}
