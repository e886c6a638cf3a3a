#include "RtfCodePages.h"
#include "RtfLimits.h"
#include "RtfReader.h"
#include "RtfText.h"
#include "RtfTokenizer.h"
#include "support/RtfPicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

using namespace fosdat;

namespace
{

std::unique_ptr<QTextDocument> load(const QByteArray &rtf)
{
    rtf::ReadResult result = rtf::read(rtf);
    if (!result.ok() || !result.document)
        qFatal("not read as RTF: %s", rtf.left(80).constData());
    return std::move(result.document);
}

// The text of every block, joined by '\n'; unlike toPlainText() it keeps
// no-break spaces and line separators as they are.
QString blockTexts(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(u'\n');
}

// The format of the characters of `fragment`, which must all share it.
QTextCharFormat formatOf(const QTextDocument &document, const QString &fragment)
{
    const QTextCursor found = document.find(fragment, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        qFatal("fragment not found: %s", qPrintable(fragment));
    QTextCursor first(found.document());
    first.setPosition(found.selectionStart() + 1);
    QTextCursor last(found.document());
    last.setPosition(found.selectionEnd());
    if (first.charFormat() != last.charFormat())
        qFatal("fragment has more than one format: %s", qPrintable(fragment));
    return first.charFormat();
}

QString describe(const rtf::Token &token)
{
    const QString at = u'@' + QString::number(token.offset);
    switch (token.kind) {
    case rtf::TokenKind::GroupOpen:
        return u'{' + at;
    case rtf::TokenKind::GroupClose:
        return u'}' + at;
    case rtf::TokenKind::ControlWord:
        return u'\\' + QString::fromLatin1(token.bytes) +
               (token.hasParameter ? QString::number(token.parameter) : QString()) + at;
    case rtf::TokenKind::ControlSymbol:
        return (token.symbol == '\n' ? QStringLiteral("\\<nl>") : u'\\' + QChar(token.symbol)) + at;
    case rtf::TokenKind::Text:
        return u'\'' + QString::fromLatin1(token.bytes) + u'\'' + at;
    case rtf::TokenKind::HexByte:
        return u'x' + QString::number(token.byte, 16) + at;
    case rtf::TokenKind::Binary:
        return "bin:" + QString::fromLatin1(token.bytes.toByteArray().toHex()) + at;
    }
    return {};
}

QByteArray imageBytes(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray pngBytes(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(0);
    return imageBytes(image, "PNG");
}

// A progressive JPEG of `scans` scans: those of the encoder and copies of its
// last one, which a decoder reads again, with a warning.
QByteArray jpegWithScans(int scans)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QByteArray jpeg = imageBytes(image, "JPEG", true);
    const qsizetype lastScan = jpeg.lastIndexOf("\xff\xda");
    const qsizetype end = jpeg.lastIndexOf("\xff\xd9");
    const int own = int(jpeg.count("\xff\xda"));
    if (scans < own || lastScan < 0)
        qFatal("the encoder wrote %d scans", own);
    return jpeg.left(end) + jpeg.mid(lastScan, end - lastScan).repeated(scans - own) +
           jpeg.mid(end);
}

QVariant brush(int r, int g, int b)
{
    return QVariant(QBrush(QColor(r, g, b)));
}

QVariant families(const QString &family)
{
    return QVariant(QStringList{family});
}

const QVariant unset;

// Paragraphs of two changes of format each, as many as a document keeps.
QByteArray spentFormats()
{
    return QByteArray(R"({\b x}{\i y}\par )").repeated(rtf::limits::MaxDocumentFormatChanges / 2);
}

// The property that setTabPositions() sets.
QVariant tabStops(const QList<QTextOption::Tab> &tabs)
{
    QTextBlockFormat format;
    format.setTabPositions(tabs);
    return format.property(QTextFormat::TabPositions);
}

// \tx15\tx30 ... : `count` tab stops a pixel apart.
QByteArray tabWords(int count)
{
    QByteArray words;
    for (int i = 1; i <= count; ++i)
        words += "\\tx" + QByteArray::number(i * 15);
    return words;
}

constexpr QChar ZeroWidthSpace(0x200B);

// Text without spaces as the reader shows it: a zero-width space after every
// MaxWordLetters letters; a paragraph full of characters, or of changes of
// format when each letter has a format other than the one before, is broken
// after its last zero-width space.
QString shownWord(const QString &letters, bool formatPerLetter = false)
{
    using namespace rtf::limits;
    QStringList paragraphs{QString()};
    int inWord = 0;
    int changes = 0;
    for (const QChar letter : letters) {
        if (paragraphs.last().size() >= MaxParagraphCharacters ||
            (formatPerLetter && changes >= MaxParagraphFormatChanges)) {
            const qsizetype end = paragraphs.last().lastIndexOf(ZeroWidthSpace) + 1;
            const QString carried = paragraphs.last().mid(end);
            paragraphs.last().truncate(end);
            paragraphs.append(carried);
            changes = carried.size();
        }
        paragraphs.last() += letter;
        ++changes;
        if (++inWord == MaxWordLetters) {
            paragraphs.last() += ZeroWidthSpace;
            inWord = 0;
        }
    }
    return paragraphs.join(u'\n');
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

    void addCapRows();

    void addTextColumns()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
    }
    void checkText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        QCOMPARE(blockTexts(*load(rtf)), expected);
        // The text-only path agrees.
        QCOMPARE(rtf::readText(rtf), std::optional(expected));
    }

private slots:
    void tokenizer_data();
    void tokenizer();

    void paragraphs_data();
    void paragraphs() { checkText(); }
    void specialCharacters_data();
    void specialCharacters() { checkText(); }
    void codePages_data();
    void codePages() { checkText(); }
    void unicode_data();
    void unicode() { checkText(); }
    void destinations_data();
    void destinations() { checkText(); }
    void fieldsListsAndHiddenText_data();
    void fieldsListsAndHiddenText() { checkText(); }
    void tables_data();
    void tables() { checkText(); }
    void truncatedInput_data();
    void truncatedInput() { checkText(); }
    void pathological_data();
    void pathological() { checkText(); }
    void viewCapsEndTheDocumentNotTheText_data();
    void viewCapsEndTheDocumentNotTheText();

    void characterFormat_data();
    void characterFormat();
    void fontFamily_data();
    void fontFamily() { characterFormat(); }
    void blockFormat_data();
    void blockFormat();
    void defaultTabDistance_data();
    void defaultTabDistance();
    void unchangedFormatKeepsOneFragment();
    void emptyParagraphKeepsItsFormat();
    void formatsKeptWhereTheyCanBeLaidOut_data();
    void formatsKeptWhereTheyCanBeLaidOut();

    void picture_data();
    void picture();
    void pictureDataGoesToOneResourceEach();
    void pictureMemoryAndScansAreBounded_data();
    void pictureMemoryAndScansAreBounded();

    void rejectsNonRtf_data();
    void rejectsNonRtf();
    void codePagesHaveDecoders();
    void limitsHoldOnHugeTables();
    void survivesRandomDamage();
};

void TestRtfReader::tokenizer_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("tokens");
    QTest::newRow("group and word") << QByteArray(R"({\rtf1 A})") << R"({@0 \rtf1@1 'A'@7 }@8)";
    QTest::newRow("negative parameter") << QByteArray(R"(\li-20x)") << R"(\li-20@0 'x'@6)";
    QTest::newRow("one delimiting space") << QByteArray(R"(\b  x)") << R"(\b@0 ' x'@3)";
    QTest::newRow("minus without digits") << QByteArray(R"(\b-x)") << R"(\b@0 '-x'@2)";
    QTest::newRow("INT_MAX") << QByteArray(R"(\u2147483647)") << R"(\u2147483647@0)";
    QTest::newRow("above INT_MAX") << QByteArray(R"(\u2147483648)") << R"(\u2147483647@0)";
    QTest::newRow("INT_MIN") << QByteArray(R"(\u-2147483648)") << R"(\u-2147483648@0)";
    QTest::newRow("below INT_MIN") << QByteArray(R"(\u-2147483649)") << R"(\u-2147483648@0)";
    QTest::newRow("twenty digits")
        << QByteArray(R"(\u99999999999999999999 x)") << R"(\u2147483647@0 'x'@23)";
    QTest::newRow("leading zeros") << QByteArray(R"(\u0000000000000001)") << R"(\u1@0)";
    QTest::newRow("32 letters") << QByteArray("\\" + QByteArray(32, 'a') + "1")
                                << "\\" + QString(32, u'a') + "1@0";
    QTest::newRow("33 letters") << QByteArray("\\" + QByteArray(33, 'a') + "5 x")
                                << R"(\5@0 'x'@36)";
    QTest::newRow("hex") << QByteArray(R"(\'cF\'4)") << R"(xcf@0)";
    QTest::newRow("one hex digit") << QByteArray(R"(\'4g)") << R"('g'@3)";
    QTest::newRow("invalid hex") << QByteArray(R"(\'zz)") << R"('zz'@2)";
    QTest::newRow("symbols") << QByteArray(R"(\~\*\\\{)") << R"(\~@0 \*@2 \\@4 \{@6)";
    QTest::newRow("backslash newline") << QByteArray("\\\r\nA") << R"(\<nl>@0 'A'@3)";
    QTest::newRow("line breaks split text") << QByteArray("A\r\nB") << R"('A'@0 'B'@3)";
    QTest::newRow("bin") << QByteArray(R"(\bin3 a}b})") << R"(bin:617d62@0 }@9)";
    QTest::newRow("bin past the end") << QByteArray(R"(\bin100 ab)") << R"(bin:6162@0)";
    QTest::newRow("bin without parameter") << QByteArray(R"(\bin x)") << R"(bin:@0 'x'@5)";
    QTest::newRow("bin negative") << QByteArray(R"(\bin-5 x)") << R"(bin:@0 'x'@7)";
    QTest::newRow("trailing backslash") << QByteArray(R"(A\)") << R"('A'@0)";
}

void TestRtfReader::tokenizer()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, tokens);
    rtf::Tokenizer tokenizer(input);
    rtf::Token token;
    QStringList seen;
    while (tokenizer.next(token))
        seen.append(describe(token));
    QCOMPARE(seen.join(u' '), tokens);
}

void TestRtfReader::paragraphs_data()
{
    addTextColumns();
    QTest::newRow("plain") << QByteArray(R"({\rtf1 Hello})") << "Hello";
    QTest::newRow("leading white space") << QByteArray(" \r\n\t{\\rtf1 Hi}") << "Hi";
    QTest::newRow("unknown words") << QByteArray(R"({\rtf1\viewkind4\lang1049 Hi})") << "Hi";
    QTest::newRow("delimiting space") << QByteArray(R"({\rtf1 \b Bold \b0 text})") << "Bold text";
    QTest::newRow("file line breaks") << QByteArray("{\\rtf1 A\r\nB\nC}") << "ABC";
    QTest::newRow("par") << QByteArray(R"({\rtf1 A\par B})") << "A\nB";
    QTest::newRow("no empty paragraph at the end") << QByteArray(R"({\rtf1 A\par})") << "A";
    QTest::newRow("par par") << QByteArray(R"({\rtf1 A\par\par B\par})") << "A\n\nB";
    QTest::newRow("par par at the end") << QByteArray(R"({\rtf1 A\par\par})") << "A\n";
    QTest::newRow("par first") << QByteArray(R"({\rtf1\par A})") << "\nA";
    QTest::newRow("empty document") << QByteArray(R"({\rtf1})") << "";
    QTest::newRow("only par") << QByteArray(R"({\rtf1\par})") << "";
    QTest::newRow("sect and page") << QByteArray(R"({\rtf1 A\sect B\page C})") << "A\nB\nC";
    QTest::newRow("backslash newline") << QByteArray("{\\rtf1 A\\\nB}") << "A\nB";
    QTest::newRow("par in a group") << QByteArray(R"({\rtf1 {A\par}B})") << "A\nB";
    QTest::newRow("header before the fonts")
        << QByteArray(R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}{\colortbl;}A\par})") << "A";
}

void TestRtfReader::specialCharacters_data()
{
    addTextColumns();
    QTest::newRow("escapes") << QByteArray(R"({\rtf1 \{a\}\\})") << "{a}\\";
    QTest::newRow("tab and line") << QByteArray(R"({\rtf1 A\tab B\line C})") << "A\tB\u2028C";
    QTest::newRow("no-break space and hyphens")
        << QByteArray(R"({\rtf1 a\~b\-c\_d})") << "a\u00A0b\u00ADc\u2011d";
    QTest::newRow("typographic words")
        << QByteArray(
               R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\enspace\emspace})")
        << "\u2014\u2013\u2022\u2018\u2019\u201C\u201D\u2002\u2003";
    QTest::newRow("index marks ignored") << QByteArray(R"({\rtf1 a\|b\:c})") << "abc";
    QTest::newRow("structure characters neutralized")
        << QByteArray(R"({\rtf1 a\u8233?b\u-560?c\u-4?d\'0de\u13?f\u10?g})")
        << "a\u2028b\uFFFDc\uFFFDd e f g";
}

void TestRtfReader::codePages_data()
{
    addTextColumns();
    QTest::newRow("ansicpg1251") << QByteArray(
                                        R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})")
                                 << "Привет";
    QTest::newRow("8-bit text bytes") << QByteArray("{\\rtf1\\ansicpg1251 \xcf\xf0\xe8}") << "При";
    QTest::newRow("default 1252") << QByteArray(R"({\rtf1\ansi \'e9\'80})") << "é€";
    QTest::newRow("fcharset204 over ansi")
        << QByteArray(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset204 Arial;}}\'cf\'f0})") << "Пр";
    QTest::newRow("fonts of several charsets")
        << QByteArray(
               R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset204 A;}{\f1\fcharset161 B;})"
               R"({\f2\fcharset238 C;}{\f3\fcharset0 D;}}\f0\'e4{\f1\'e4}{\f2\'e4}{\f3\'e4}\'e4})")
        << "дδääд";
    QTest::newRow("default charset uses ansicpg")
        << QByteArray(R"({\rtf1\ansicpg1251{\fonttbl{\f0\fcharset1 A;}}\f0\'e4})") << "д";
    QTest::newRow("font code page")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\cpg1251 A;}}\f0\'e4})") << "д";
    QTest::newRow("mac") << QByteArray(R"({\rtf1\mac \'8e})") << "é";
    QTest::newRow("pc") << QByteArray(R"({\rtf1\pc \'82})") << "é";
    QTest::newRow("pca") << QByteArray(R"({\rtf1\pca \'d5})") << "ı";
    QTest::newRow("unknown ansicpg") << QByteArray(R"({\rtf1\ansicpg99999 \'e9})") << "é";
    QTest::newRow("symbol charset byte for byte")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset2 Symbol;}}\f0\'b7\'80})") << "\u00B7\u0080";
    QTest::newRow("shift-jis pair of hex bytes")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset128 M;}}\f0\'82\'a0})") << "あ";
    QTest::newRow("big5 pair of hex bytes")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset136 M;}}\f0\'a4\'a4})") << "中";
    QTest::newRow("utf-8 across hex bytes and text")
        << QByteArray("{\\rtf1\\ansicpg65001 \\'d0\\'9f\xd1\x80}") << "Пр";
    QTest::newRow("incomplete character at a run end dropped")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset128 M;}}\f0\'82\par\'82\'a0})") << "\nあ";
    QTest::newRow("font change between bytes")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset204 A;}{\f1\fcharset0 B;}}\f0\'e4\f1\'e4})")
        << "дä";
}

void TestRtfReader::unicode_data()
{
    addTextColumns();
    QTest::newRow("fallback skipped") << QByteArray(R"({\rtf1 \u1055?\u1088?})") << "Пр";
    QTest::newRow("negative") << QByteArray(R"({\rtf1\u-4064?})") << "\uF020";
    QTest::newRow("uc0") << QByteArray(R"({\rtf1\uc0\u1055 x})") << "Пx";
    QTest::newRow("uc2") << QByteArray(R"({\rtf1\uc2\u1055 ab c})") << "П c";
    QTest::newRow("hex fallback") << QByteArray(R"({\rtf1\uc1\u1055\'cf x})") << "П x";
    QTest::newRow("two hex bytes for uc2") << QByteArray(R"({\rtf1\uc2\u12354\'82\'a0x})") << "あx";
    QTest::newRow("control word counts one") << QByteArray(R"({\rtf1\uc1\u1055\tab x})") << "Пx";
    QTest::newRow("group end stops skipping") << QByteArray(R"({\rtf1\uc2{\u1055 a}bc})") << "Пbc";
    QTest::newRow("group start stops skipping") << QByteArray(R"({\rtf1\uc2\u1055{b}c})") << "Пbc";
    QTest::newRow("uc scoped by group")
        << QByteArray(R"({\rtf1{\uc2\u1055 ab}\u1056 xy})") << "ПРy";
    QTest::newRow("uc clamped") << QByteArray(R"({\rtf1\uc1000\u1055 abcdefghijklmnop})")
                                << "Пklmnop";
    QTest::newRow("negative uc") << QByteArray(R"({\rtf1\uc-5\u1055 a})") << "Пa";
    QTest::newRow("surrogate pair") << QByteArray(R"({\rtf1\u-10179?\u-8704?})") << "😀";
    QTest::newRow("lone high surrogate") << QByteArray(R"({\rtf1\u-10179?x})") << "\uFFFDx";
    QTest::newRow("lone low surrogate") << QByteArray(R"({\rtf1 x\u-8704?})") << "x\uFFFD";
    QTest::newRow("high at the end") << QByteArray(R"({\rtf1 x\u-10179?})") << "x\uFFFD";
    QTest::newRow("high high low")
        << QByteArray(R"({\rtf1\u-10179?\u-10179?\u-8704?})") << "\uFFFD😀";
    QTest::newRow("out of range") << QByteArray(R"({\rtf1\u70000?\u-70000?})") << "\uFFFD\uFFFD";
    QTest::newRow("INT_MIN and INT_MAX")
        << QByteArray(R"({\rtf1\u-2147483648?\u2147483647?})") << "\uFFFD\uFFFD";
    QTest::newRow("u without parameter") << QByteArray(R"({\rtf1\u x})") << "x";
}

void TestRtfReader::destinations_data()
{
    addTextColumns();
    QTest::newRow("stylesheet") << QByteArray(R"({\rtf1{\stylesheet{\s0 Normal;}}A})") << "A";
    QTest::newRow("info") << QByteArray(R"({\rtf1{\info{\title T}{\author X}}A})") << "A";
    QTest::newRow("header and footer")
        << QByteArray(R"({\rtf1{\header H}{\footerl F}{\headerf G}A})") << "A";
    QTest::newRow("unknown starred") << QByteArray(R"({\rtf1{\*\foo bar{\b baz}}A})") << "A";
    QTest::newRow("unknown not starred") << QByteArray(R"({\rtf1{\foo bar}A})") << "barA";
    QTest::newRow("starred text destination") << QByteArray(R"({\rtf1{\*\shppict B}A})") << "BA";
    QTest::newRow("starred known word") << QByteArray(R"({\rtf1{\*\b X}A})") << "A";
    QTest::newRow("star then group") << QByteArray(R"({\rtf1{\*{X}Y}A})") << "XYA";
    QTest::newRow("over-long starred word")
        << QByteArray("{\\rtf1{\\*\\" + QByteArray(40, 'a') + " X}B}") << "B";
    QTest::newRow("known skipped destinations")
        << QByteArray(R"({\rtf1{\object x}{\*\themedata x}{\*\colorschememapping x})"
                      R"({\*\datastore x}{\*\latentstyles x}{\*\xmlnstbl x}{\*\rsidtbl x})"
                      R"({\*\generator x}{\*\listtable x}{\*\listoverridetable x})"
                      R"({\*\pgdsctbl x}{\annotation x}{\nonshppict x}A})")
        << "A";
    QTest::newRow("picture of another kind")
        << QByteArray(R"({\rtf1 A{\pict\wmetafile8 0102}B})") << "AB";
    QTest::newRow("picture without kind") << QByteArray(R"({\rtf1 A{\pict 0102}B})") << "AB";
    QTest::newRow("binary data in a skipped group")
        << QByteArray(R"({\rtf1{\*\foo\bin3 }}}}A})") << "A";
    QTest::newRow("font table in the text")
        << QByteArray(R"({\rtf1 A{\fonttbl{\f0 Arial;}}B})") << "AB";
    QTest::newRow("destination inside the font table")
        << QByteArray(R"({\rtf1{\fonttbl{\f0{\pict 00}{\*\panose 0203}Arial;}}A})") << "A";
    QTest::newRow("color table text") << QByteArray(R"({\rtf1{\colortbl;red;}A})") << "A";
    QTest::newRow("footnote after the text")
        << QByteArray(
               R"({\rtf1 A{\super\chftn}{\footnote\pard\plain{\super\chftn} Note.} b.\par C})")
        << "A1 b.\nC\n\n1 Note.";
    QTest::newRow("footnotes numbered in order")
        << QByteArray(R"({\rtf1 A\chftn{\footnote\chftn  one}B\chftn{\*\footnote\chftn  two}})")
        << "A1B2\n\n1 one\n2 two";
    QTest::newRow("footnote with its own mark")
        << QByteArray(R"({\rtf1 A*{\footnote * Star.}B})") << "A*B\n\n* Star.";
    QTest::newRow("footnote of paragraphs")
        << QByteArray(R"({\rtf1 A{\footnote x\par y\line z}B})") << "AB\n\nx\ny\u2028z";
    QTest::newRow("footnote after a paragraph break")
        << QByteArray(R"({\rtf1 A\par{\footnote x}})") << "A\n\nx";
    QTest::newRow("footnote without text") << QByteArray(R"({\rtf1{\footnote x}})") << "\nx";
    QTest::newRow("footnote in a footnote")
        << QByteArray(R"({\rtf1 A{\footnote x{\footnote y}z}})") << "A\n\nxz";
    QTest::newRow("hidden footnote")
        << QByteArray(R"({\rtf1 A{\v\chftn{\footnote x}}B\chftn{\footnote\chftn y}})")
        << "AB1\n\n1y";
    QTest::newRow("footnote cut short")
        << QByteArray(R"({\rtf1 A{\footnote x\par y)") << "A\n\nx\ny";
}

void TestRtfReader::fieldsListsAndHiddenText_data()
{
    addTextColumns();
    QTest::newRow("field result shown")
        << QByteArray(R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt Link}} after})")
        << "Link after";
    QTest::newRow("unstarred field instruction")
        << QByteArray(R"({\rtf1{\field{\fldinst PAGE}{\fldrslt 1}}})") << "1";
    QTest::newRow("hidden") << QByteArray(R"({\rtf1 A{\v hidden}B\v C\v0 D})") << "ABD";
    QTest::newRow("plain ends hidden") << QByteArray(R"({\rtf1\v X\plain Y})") << "Y";
    QTest::newRow("hidden unicode and symbols")
        << QByteArray(R"({\rtf1 A{\v\u1055?\tab\~}B})") << "AB";
    QTest::newRow("hidden text keeps paragraphs")
        << QByteArray(R"({\rtf1 A{\v x\par}B})") << "A\nB";
    QTest::newRow("listtext") << QByteArray(R"({\rtf1{\listtext 1.\tab}Item})") << "1.\tItem";
    QTest::newRow("pntext") << QByteArray(R"({\rtf1{\pntext\'b7\tab}Item})") << "\u00B7\tItem";
    QTest::newRow("old numbering skipped")
        << QByteArray(R"({\rtf1{\*\pn\pnlvlblt{\pntxtb \'b7}}Item})") << "Item";
}

void TestRtfReader::tables_data()
{
    addTextColumns();
    QTest::newRow("one row")
        << QByteArray(R"({\rtf1\trowd\cellx1000\cellx2000\pard\intbl A\cell B\cell\row C})")
        << "A\tB\nC";
    QTest::newRow("two rows")
        << QByteArray(R"({\rtf1\trowd\intbl A\cell B\cell\row\trowd\intbl C\cell D\cell\row})")
        << "A\tB\nC\tD";
    QTest::newRow("empty cells") << QByteArray(R"({\rtf1\intbl\cell B\cell\cell\row})") << "\tB";
    QTest::newRow("nested cells") << QByteArray(R"({\rtf1\intbl A\nestcell B\nestcell\nestrow})")
                                  << "A\tB";
    QTest::newRow("row in a group") << QByteArray(R"({\rtf1\intbl A\cell{\trowd\row}B})") << "A\nB";
    QTest::newRow("paragraph inside a cell")
        << QByteArray(R"({\rtf1\intbl A\par B\cell C\row})") << "A\nB\tC";
}

void TestRtfReader::truncatedInput_data()
{
    addTextColumns();
    QTest::newRow("mid hex") << QByteArray(R"({\rtf1 AB\'4)") << "AB";
    QTest::newRow("after backslash") << QByteArray(R"({\rtf1 AB\)") << "AB";
    QTest::newRow("mid control word") << QByteArray(R"({\rtf1 AB\pa)") << "AB";
    QTest::newRow("minus at the end") << QByteArray(R"({\rtf1 AB\u-)") << "AB-";
    QTest::newRow("mid parameter") << QByteArray(R"({\rtf1 AB\fs4)") << "AB";
    QTest::newRow("unbalanced open") << QByteArray(R"({\rtf1{\b A{\i B)") << "AB";
    QTest::newRow("unbalanced close") << QByteArray(R"({\rtf1 A}}B})") << "A";
    QTest::newRow("text after the end") << QByteArray(R"({\rtf1 A}B)") << "A";
    QTest::newRow("invalid hex") << QByteArray(R"({\rtf1 A\'zzB})") << "AzzB";
    QTest::newRow("in the font table") << QByteArray(R"({\rtf1{\fonttbl{\f0 Ari)") << "";
    QTest::newRow("in a picture") << QByteArray(R"({\rtf1 A{\pict\pngblip 8950)") << "A";
    QTest::newRow("only the header") << QByteArray(R"({\rtf)") << "";
}

void TestRtfReader::pathological_data()
{
    addTextColumns();
    const int million = 1000000;
    QTest::newRow("a million open groups") << QByteArray("{\\rtf1 A" + QByteArray(million, '{') +
                                                         "B" + QByteArray(million, '}') + "C}")
                                           << "AC";
    QTest::newRow("a million unclosed groups")
        << QByteArray("{\\rtf1 A" + QByteArray(million, '{') + "B") << "A";
    QTest::newRow("deep but within the limit")
        << QByteArray("{\\rtf1" + QByteArray(300, '{') + "\\b B" + QByteArray(300, '}') + "C}")
        << "BC";
    QTest::newRow("a million empty groups")
        << QByteArray("{\\rtf1 A" + QByteArray(million, '{').replace("{", "{}") + "B}") << "AB";
    QTest::newRow("huge bin") << QByteArray(R"({\rtf1 A\bin2147483647 xyz})") << "A";
    QTest::newRow("long control word")
        << QByteArray("{\\rtf1 \\" + QByteArray(100000, 'a') + " B}") << "B";
    QTest::newRow("long parameter")
        << QByteArray("{\\rtf1 \\fs" + QByteArray(100000, '9') + " B}") << "B";
    QTest::newRow("long negative parameter")
        << QByteArray("{\\rtf1 \\li-" + QByteArray(100000, '9') + " B}") << "B";
    QTest::newRow("long word of text") << QByteArray("{\\rtf1 " + QByteArray(million, 'x') + "}")
                                       << shownWord(QString(million, u'x'));
    QTest::newRow("alternating formats")
        << QByteArray("{\\rtf1 " + QByteArray("{\\b a}{\\i b}").repeated(10000) + "}")
        << shownWord(QString("ab").repeated(10000), true);
    QTest::newRow("many paragraphs")
        << QByteArray("{\\rtf1 " + QByteArray("x\\par ").repeated(50000) + "}")
        << QString("x\n").repeated(50000).chopped(1);
    QTest::newRow("font tables deep inside groups")
        << QByteArray("{\\rtf1" + QByteArray(500, '{') +
                      QByteArray("{\\fonttbl{\\f0 A;}}").repeated(20000) + "B}")
        << "B";
    QTest::newRow("fallback and destinations in a loop")
        << QByteArray("{\\rtf1 " +
                      QByteArray("{\\*\\x{\\uc9\\u1 \\'00}}\\u65 \\\\").repeated(20000) + "}")
        << shownWord(QString("A").repeated(20000));
    addCapRows();
}

// Where the caps of RtfLimits.h apply, and what is shown of what passes them.
void TestRtfReader::addCapRows()
{
    using namespace rtf::limits;
    const QString word(MaxWordLetters, u'x');
    QTest::newRow("break after the longest word")
        << "{\\rtf1 " + QByteArray(2 * MaxWordLetters + 3, 'x') + "}"
        << word + ZeroWidthSpace + word + ZeroWidthSpace + "xxx";
    QTest::newRow("spaces and hyphens end words")
        << "{\\rtf1 " + QByteArray(MaxWordLetters - 1, 'x') + " " +
               QByteArray(MaxWordLetters - 1, 'x') + "-" + QByteArray(MaxWordLetters - 1, 'x') +
               "\\-" + QByteArray(MaxWordLetters, 'x') + "}"
        << word.chopped(1) + " " + word.chopped(1) + "-" + word.chopped(1) + "\u00AD" + word +
               ZeroWidthSpace;
    QTest::newRow("a no-break space does not end a word")
        << "{\\rtf1 " + QByteArray(MaxWordLetters - 1, 'x') + "\\~y}"
        << word.chopped(1) + "\u00A0" + ZeroWidthSpace + "y";
    QTest::newRow("no break inside a surrogate pair")
        << "{\\rtf1 " + QByteArray(MaxWordLetters - 1, 'x') + "\\u-10179?\\u-8704?y}"
        << word.chopped(1) + "😀" + ZeroWidthSpace + "y";
    QTest::newRow("word count across formats and groups")
        << "{\\rtf1 " + QByteArray(MaxWordLetters - 2, 'x') + "{\\b yy}z}"
        << word.chopped(2) + "yy" + ZeroWidthSpace + "z";
    QTest::newRow("full paragraph broken after its last space")
        << "{\\rtf1 " + QByteArray("abcdef ").repeated(1500) + "}"
        << QString("abcdef ").repeated(1428) + "\n" + QString("abcdef ").repeated(72);
    QTest::newRow("long run inserted in parts")
        << "{\\rtf1 " + QByteArray("abcdef ").repeated(20000) + "}"
        << (QString("abcdef ").repeated(1428) + "\n").repeated(14) + QString("abcdef ").repeated(8);
    QTest::newRow("long run of UTF-8 inserted in parts")
        << "{\\rtf1\\ansicpg65001 " + QByteArray("\xd0\xb0\xd0\xb1\xd0\xb2 ").repeated(30000) + "}"
        << QStringList(12, QString("абв ").repeated(2500)).join(u'\n');
    const QByteArray toggles =
        QByteArray("{\\b x }{\\i x }").repeated(MaxParagraphFormatChanges / 2);
    QTest::newRow("paragraph broken after its last change of format")
        << "{\\rtf1 " + toggles + "{\\b y}}"
        << QString("x ").repeated(MaxParagraphFormatChanges) + "\ny";
    QTest::newRow("empty paragraphs in a row dropped")
        << "{\\rtf1 A" + QByteArray("\\par").repeated(MaxEmptyParagraphRun + 20) + " B\\par\\par C}"
        << "A" + QString(MaxEmptyParagraphRun + 1, u'\n') + "B\n\nC";
    QTest::newRow("changes of format beyond the cap keep the text")
        << "{\\rtf1 " + toggles.repeated(MaxDocumentFormatChanges / MaxParagraphFormatChanges + 1) +
               "}"
        << (QString("x ").repeated(MaxParagraphFormatChanges) + "\n")
                   .repeated(MaxDocumentFormatChanges / MaxParagraphFormatChanges) +
               QString("x ").repeated(MaxParagraphFormatChanges);
    QTest::newRow("paragraph broken after its last tab")
        << "{\\rtf1 " + QByteArray("x\\tab ").repeated(MaxParagraphTabs + 2) + "y}"
        << QString("x\t").repeated(MaxParagraphTabs) + "\n" + QString("x\t").repeated(2) + "y";
    QTest::newRow("table cells count as tabs")
        << "{\\rtf1 " + QByteArray("x\\cell ").repeated(MaxParagraphTabs + 2) + "y}"
        << QString("x\t").repeated(MaxParagraphTabs) + "\n" + QString("x\t").repeated(2) + "y";
}

// Where the view can lay out no more, the document ends with a line that
// counts the characters it shows and those of the file; the text-only reading
// goes on to the end. The document is always the start of that text.
void TestRtfReader::viewCapsEndTheDocumentNotTheText_data()
{
    using namespace rtf::limits;
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qreal>("layoutHeight");
    QTest::addColumn<int>("paragraphsShown"); // -1: wherever the height ends it
    const qreal anyHeight = QtLayoutHeight;
    // In a one-point font, so that the height the view would need stays below its cap.
    QTest::newRow("paragraphs beyond the cap")
        << "{\\rtf1\\fs2 " + QByteArray("x\\par ").repeated(MaxParagraphs + 3) + "}" << anyHeight
        << MaxParagraphs;
    const int paragraphs = MaxDocumentCharacters / 200;
    QTest::newRow("characters beyond the cap")
        << "{\\rtf1\\fs2 " + (QByteArray(200, 'x') + "\\par ").repeated(paragraphs + 3) + "}"
        << anyHeight << paragraphs + 1; // the one begun for text that did not fit stays empty
    const QByteArray words = QByteArray("abcde fghij ").repeated(400);
    QTest::newRow("paragraphs taller than the view lays out")
        << "{\\rtf1 " + (words + "\\par ").repeated(20) + "}" << 20000.0 << -1;
    QTest::newRow("a paragraph taller than the view lays out")
        << "{\\rtf1 " + words.repeated(5) + "}" << 10000.0 << -1;
    QTest::newRow("UTF-8 and Unicode escapes beyond the end")
        << "{\\rtf1\\ansicpg65001 " + (words + "\xd0\xb0\\u1073?\\'d0\\'b2 \\line ").repeated(20) +
               "}"
        << 20000.0 << -1;
    QTest::newRow("table cells beyond the end")
        << "{\\rtf1 " + (words + "\\cell x\\cell y\\row ").repeated(20) + "}" << 20000.0 << -1;
    QTest::newRow("pictures and footnotes beyond the end")
        << "{\\rtf1 " + (words + rtfPicture() + "{\\footnote " + words + "}\\par ").repeated(20) +
               "}"
        << 20000.0 << -1;
}

void TestRtfReader::viewCapsEndTheDocumentNotTheText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(qreal, layoutHeight);
    QFETCH(int, paragraphsShown);
    const rtf::ReadResult result = rtf::read(rtf, {.layoutHeight = layoutHeight, .progress = {}});
    QVERIFY(result.ok());
    QVERIFY(result.cut);
    const QString text = rtf::readText(rtf).value();
    const auto characters = [](const QString &text) { return text.size() - text.count(u'\n'); };
    QCOMPARE(result.characters, characters(text));
    QVERIFY(result.shownCharacters < result.characters);
    const QString shown = textWithoutPictures(*result.document);
    QVERIFY2(text.startsWith(shown), qPrintable(shown.right(40)));
    QCOMPARE(result.shownCharacters, characters(shown));
    if (paragraphsShown >= 0)
        QCOMPARE(result.document->blockCount(), paragraphsShown);
}

void TestRtfReader::characterFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("value");
    const int weight = QTextFormat::FontWeight;
    const int italic = QTextFormat::FontItalic;
    const int underline = QTextFormat::TextUnderlineStyle;
    const int strike = QTextFormat::FontStrikeOut;
    const int size = QTextFormat::FontPointSize;
    const int valign = QTextFormat::TextVerticalAlignment;
    const int fg = QTextFormat::ForegroundBrush;
    const int bg = QTextFormat::BackgroundBrush;
    const QVariant bold(int(QFont::Bold));
    const QVariant single(int(QTextCharFormat::SingleUnderline));
    const QByteArray colors = R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})";

    QTest::newRow("bold") << QByteArray(R"({\rtf1 a{\b B}c})") << "B" << weight << bold;
    // Past the document's budget of changes of format, the text goes on plain.
    QTest::newRow("plain past the budget of changes")
        << QByteArray(R"({\rtf1\fs30 )" + spentFormats() + R"({\b last}})") << "last" << weight
        << unset;
    QTest::newRow("plain size past the budget of changes")
        << QByteArray(R"({\rtf1\fs30 )" + spentFormats() + R"({\b last}})") << "last" << size
        << QVariant(12.0);
    QTest::newRow("bold scoped") << QByteArray(R"({\rtf1 a{\b B}c})") << "c" << weight << unset;
    QTest::newRow("b0") << QByteArray(R"({\rtf1\b a\b0 C})") << "C" << weight << unset;
    QTest::newRow("italic") << QByteArray(R"({\rtf1 a{\i B}c})") << "B" << italic << QVariant(true);
    QTest::newRow("i0") << QByteArray(R"({\rtf1\i a\i0 C})") << "C" << italic << unset;
    QTest::newRow("ul") << QByteArray(R"({\rtf1 a{\ul B}c})") << "B" << underline << single;
    QTest::newRow("uldb") << QByteArray(R"({\rtf1 a{\uldb B}c})") << "B" << underline << single;
    QTest::newRow("ulwave") << QByteArray(R"({\rtf1 a{\ulwave B}c})") << "B" << underline << single;
    QTest::newRow("ulnone") << QByteArray(R"({\rtf1\ul a\ulnone C})") << "C" << underline << unset;
    QTest::newRow("ul0") << QByteArray(R"({\rtf1\ul a\ul0 C})") << "C" << underline << unset;
    QTest::newRow("strike") << QByteArray(R"({\rtf1 a{\strike B}c})") << "B" << strike
                            << QVariant(true);
    QTest::newRow("strike0") << QByteArray(R"({\rtf1\strike a\strike0 C})") << "C" << strike
                             << unset;
    QTest::newRow("default size") << QByteArray(R"({\rtf1 A})") << "A" << size << QVariant(12.0);
    QTest::newRow("fs") << QByteArray(R"({\rtf1 a{\fs28 B}})") << "B" << size << QVariant(14.0);
    QTest::newRow("odd fs") << QByteArray(R"({\rtf1\fs17 B})") << "B" << size << QVariant(8.5);
    QTest::newRow("fs0 ignored") << QByteArray(R"({\rtf1\fs0 B})") << "B" << size << QVariant(12.0);
    QTest::newRow("fs clamped") << QByteArray(R"({\rtf1\fs2147483647 B})") << "B" << size
                                << QVariant(1638.0);
    QTest::newRow("cf") << QByteArray(R"({\rtf1)" + colors + R"(a{\cf1 B}})") << "B" << fg
                        << brush(255, 0, 0);
    QTest::newRow("cf0 automatic")
        << QByteArray(R"({\rtf1)" + colors + R"(\cf1 a\cf0 B})") << "B" << fg << unset;
    QTest::newRow("cf out of range")
        << QByteArray(R"({\rtf1)" + colors + R"(\cf9 B})") << "B" << fg << unset;
    QTest::newRow("cf INT_MIN") << QByteArray(R"({\rtf1)" + colors + R"(\cf-2147483648 B})") << "B"
                                << fg << unset;
    QTest::newRow("cb") << QByteArray(R"({\rtf1)" + colors + R"(a{\cb2 B}})") << "B" << bg
                        << brush(0, 0, 255);
    QTest::newRow("highlight") << QByteArray(R"({\rtf1)" + colors + R"(a{\highlight1 B}})") << "B"
                               << bg << brush(255, 0, 0);
    QTest::newRow("highlight0") << QByteArray(R"({\rtf1)" + colors + R"(\cb1 a\highlight0 B})")
                                << "B" << bg << unset;
    QTest::newRow("color table without groups ends with components")
        << QByteArray(R"({\rtf1{\colortbl\red1\green2\blue3}\cf0 B})") << "B" << fg
        << brush(1, 2, 3);
    QTest::newRow("super") << QByteArray(R"({\rtf1 a{\super B}})") << "B" << valign
                           << QVariant(int(QTextCharFormat::AlignSuperScript));
    QTest::newRow("sub") << QByteArray(R"({\rtf1 a{\sub B}})") << "B" << valign
                         << QVariant(int(QTextCharFormat::AlignSubScript));
    QTest::newRow("nosupersub") << QByteArray(R"({\rtf1\super a\nosupersub B})") << "B" << valign
                                << unset;
    QTest::newRow("plain resets bold")
        << QByteArray(R"({\rtf1\b\i\fs40 a\plain B})") << "B" << weight << unset;
    QTest::newRow("plain resets size")
        << QByteArray(R"({\rtf1\b\i\fs40 a\plain B})") << "B" << size << QVariant(12.0);
    const int caps = QTextFormat::FontCapitalization;
    QTest::newRow("caps") << QByteArray(R"({\rtf1 a{\caps B}c})") << "B" << caps
                          << QVariant(int(QFont::AllUppercase));
    QTest::newRow("scaps") << QByteArray(R"({\rtf1 a{\scaps B}c})") << "B" << caps
                           << QVariant(int(QFont::SmallCaps));
    QTest::newRow("caps0") << QByteArray(R"({\rtf1\caps a\caps0 B})") << "B" << caps << unset;
    QTest::newRow("caps0 leaves scaps")
        << QByteArray(R"({\rtf1\scaps\caps0 B})") << "B" << caps << QVariant(int(QFont::SmallCaps));
    QTest::newRow("plain ends scaps")
        << QByteArray(R"({\rtf1\scaps a\plain B})") << "B" << caps << unset;
    QTest::newRow("footnote smaller")
        << QByteArray(R"({\rtf1 A{\footnote B}C})") << "B" << size << QVariant(10.0);
    QTest::newRow("footnote smaller than its text")
        << QByteArray(R"({\rtf1\fs20 A{\footnote B}C})") << "B" << size << QVariant(8.0);
    QTest::newRow("plain in a footnote")
        << QByteArray(R"({\rtf1 A{\footnote\fs40\plain B}})") << "B" << size << QVariant(10.0);
    QTest::newRow("size given in a footnote")
        << QByteArray(R"({\rtf1 A{\footnote\plain\fs18 B}})") << "B" << size << QVariant(9.0);
    QTest::newRow("nested scopes inner")
        << QByteArray(R"({\rtf1 {\b{\i A}B}C})") << "A" << weight << bold;
    QTest::newRow("nested scopes middle")
        << QByteArray(R"({\rtf1 {\b{\i A}B}C})") << "B" << italic << unset;
    QTest::newRow("nested scopes outer")
        << QByteArray(R"({\rtf1 {\b{\i A}B}C})") << "C" << weight << unset;
    QTest::newRow("fallback does not format")
        << QByteArray(R"({\rtf1\uc1 \u1055\b X})") << "X" << weight << unset;
}

void TestRtfReader::characterFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, fragment);
    QFETCH(int, property);
    QFETCH(QVariant, value);
    const std::unique_ptr<QTextDocument> document = load(rtf);
    QCOMPARE(formatOf(*document, fragment).property(property), value);
}

void TestRtfReader::fontFamily_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("value");
    const int family = QTextFormat::FontFamilies;
    const QByteArray fonts = R"(\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})";
    QTest::newRow("default font") << QByteArray(R"({\rtf1)" + fonts + R"(A{\f1 B}C})") << "A"
                                  << family << families("Arial");
    QTest::newRow("f1") << QByteArray(R"({\rtf1)" + fonts + R"(A{\f1 B}C})") << "B" << family
                        << families("Times New Roman");
    QTest::newRow("plain font past the budget of changes")
        << QByteArray(R"({\rtf1)" + fonts + spentFormats() + R"({\f1 last}})") << "last" << family
        << families("Arial");
    QTest::newRow("f scoped") << QByteArray(R"({\rtf1)" + fonts + R"(A{\f1 B}C})") << "C" << family
                              << families("Arial");
    QTest::newRow("plain restores the default font")
        << QByteArray(R"({\rtf1)" + fonts + R"(\f1 A\plain B})") << "B" << family
        << families("Arial");
    QTest::newRow("unknown font") << QByteArray(R"({\rtf1)" + fonts + R"(\f7 B})") << "B" << family
                                  << unset;
    QTest::newRow("no default font")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}B})") << "B" << family << unset;
    QTest::newRow("Cyrillic name")
        << QByteArray(R"({\rtf1\deff0{\fonttbl{\f0\fcharset204 \'c0\'f0\'e8\'e0\'eb;}}B})") << "B"
        << family << families("Ариал");
    QTest::newRow("panose and falt skipped")
        << QByteArray(R"({\rtf1\deff0{\fonttbl{\f0\froman{\*\panose 0202}Times{\*\falt T2};}}B})")
        << "B" << family << families("Times");
    QTest::newRow("table without entry groups")
        << QByteArray(R"({\rtf1\deff1{\fonttbl\f0 Arial;\f1 Courier;}B})") << "B" << family
        << families("Courier");
    QTest::newRow("entry without semicolon") << QByteArray(R"({\rtf1\deff0{\fonttbl{\f0 Arial}}B})")
                                             << "B" << family << families("Arial");
    QTest::newRow("Unicode name")
        << QByteArray(
               R"({\rtf1\deff0{\fonttbl{\f0\fcharset204 \u937?mega \'c0\u-10179?\u-8704?;}}B})")
        << "B" << family << families("Ωmega А😀");
    QTest::newRow("Unicode name without fallback")
        << QByteArray(R"({\rtf1\uc0\deff0{\fonttbl{\f0\u945\u946;}}B})") << "B" << family
        << families("αβ");
    QTest::newRow("deff after the table") << QByteArray(R"({\rtf1{\fonttbl{\f3 Arial;}}\deff3 B})")
                                          << "B" << family << families("Arial");
}

void TestRtfReader::blockFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("value");
    const int align = QTextFormat::BlockAlignment;
    const QVariant center(int(Qt::AlignHCenter));
    QTest::newRow("qc") << QByteArray(R"({\rtf1\qc A})") << 0 << align << center;
    QTest::newRow("qr") << QByteArray(R"({\rtf1\qr A})") << 0 << align
                        << QVariant(int(Qt::AlignRight));
    QTest::newRow("qj") << QByteArray(R"({\rtf1\qj A})") << 0 << align
                        << QVariant(int(Qt::AlignJustify));
    QTest::newRow("ql") << QByteArray(R"({\rtf1\qc\ql A})") << 0 << align << unset;
    QTest::newRow("pard") << QByteArray(R"({\rtf1\qc A\par\pard B})") << 1 << align << unset;
    QTest::newRow("kept without pard")
        << QByteArray(R"({\rtf1\qc A\par B})") << 1 << align << center;
    QTest::newRow("scoped") << QByteArray(R"({\rtf1{\qc A\par}B})") << 1 << align << unset;
    QTest::newRow("format at the paragraph end")
        << QByteArray(R"({\rtf1 A\qr\par\pard B})") << 0 << align << QVariant(int(Qt::AlignRight));
    QTest::newRow("li") << QByteArray(R"({\rtf1\li1440 A})") << 0
                        << int(QTextFormat::BlockLeftMargin) << QVariant(96.0);
    QTest::newRow("ri") << QByteArray(R"({\rtf1\ri720 A})") << 0
                        << int(QTextFormat::BlockRightMargin) << QVariant(48.0);
    QTest::newRow("fi negative") << QByteArray(R"({\rtf1\fi-360 A})") << 0
                                 << int(QTextFormat::TextIndent) << QVariant(-24.0);
    QTest::newRow("sb") << QByteArray(R"({\rtf1\sb240 A})") << 0 << int(QTextFormat::BlockTopMargin)
                        << QVariant(16.0);
    QTest::newRow("sa") << QByteArray(R"({\rtf1\sa120 A})") << 0
                        << int(QTextFormat::BlockBottomMargin) << QVariant(8.0);
    QTest::newRow("li0") << QByteArray(R"({\rtf1\li720\li0 A})") << 0
                         << int(QTextFormat::BlockLeftMargin) << unset;
    QTest::newRow("li clamped") << QByteArray(R"({\rtf1\li2147483647 A})") << 0
                                << int(QTextFormat::BlockLeftMargin) << QVariant(2112.0);
    const int tabs = QTextFormat::TabPositions;
    using Tab = QTextOption::Tab;
    QTest::newRow("tx") << QByteArray(R"({\rtf1\pard\tx2268\li284\fi-284 A})") << 0 << tabs
                        << tabStops({Tab(151.2, QTextOption::LeftTab)});
    QTest::newRow("tab kinds")
        << QByteArray(R"({\rtf1\tqr\tx1500\tqc\tldot\tx3000\tqdec\tx4500\tx6000 A})") << 0 << tabs
        << tabStops({Tab(100, QTextOption::RightTab), Tab(200, QTextOption::CenterTab),
                     Tab(300, QTextOption::DelimiterTab, u','), Tab(400, QTextOption::LeftTab)});
    QTest::newRow("tabs in order")
        << QByteArray(R"({\rtf1\tx3000\tx1500 A})") << 0 << tabs
        << tabStops({Tab(100, QTextOption::LeftTab), Tab(200, QTextOption::LeftTab)});
    QTest::newRow("tab at the same position")
        << QByteArray(R"({\rtf1\tx1500\tqr\tx1500 A})") << 0 << tabs
        << tabStops({Tab(100, QTextOption::RightTab)});
    QTest::newRow("bar tab stops nothing") << QByteArray(R"({\rtf1\tqr\tb1500\tx3000 A})") << 0
                                           << tabs << tabStops({Tab(200, QTextOption::LeftTab)});
    QTest::newRow("tabs end with pard")
        << QByteArray(R"({\rtf1\tx1500 A\par\pard B})") << 1 << tabs << unset;
    QTest::newRow("pard ends a tab kind") << QByteArray(R"({\rtf1\tqr\pard\tx1500 A})") << 0 << tabs
                                          << tabStops({Tab(100, QTextOption::LeftTab)});
    QTest::newRow("negative tab") << QByteArray(R"({\rtf1\tx-15 A})") << 0 << tabs << unset;
    QTest::newRow("tab clamped") << QByteArray(R"({\rtf1\tx2147483647 A})") << 0 << tabs
                                 << tabStops({Tab(2112, QTextOption::LeftTab)});
    QList<Tab> sixtyFour;
    for (int i = 1; i <= 64; ++i)
        sixtyFour.append(Tab(i, QTextOption::LeftTab));
    QTest::newRow("at most 64 tabs")
        << "{\\rtf1" + tabWords(100) + " A}" << 0 << tabs << tabStops(sixtyFour);
    QTest::newRow("li INT_MIN") << QByteArray(R"({\rtf1\li-2147483648 A})") << 0
                                << int(QTextFormat::BlockLeftMargin) << QVariant(-2112.0);
}

void TestRtfReader::blockFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, block);
    QFETCH(int, property);
    QFETCH(QVariant, value);
    const std::unique_ptr<QTextDocument> document = load(rtf);
    const QTextBlock found = document->findBlockByNumber(block);
    QVERIFY(found.isValid());
    QCOMPARE(found.blockFormat().property(property), value);
}

void TestRtfReader::defaultTabDistance_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qreal>("distance");
    QTest::newRow("half an inch by default") << QByteArray(R"({\rtf1 A})") << 48.0;
    QTest::newRow("deftab") << QByteArray(R"({\rtf1\deftab1134 A})") << 75.6;
    QTest::newRow("deftab0 ignored") << QByteArray(R"({\rtf1\deftab0 A})") << 48.0;
    QTest::newRow("deftab clamped") << QByteArray(R"({\rtf1\deftab2147483647 A})") << 2112.0;
}

void TestRtfReader::defaultTabDistance()
{
    QFETCH(QByteArray, rtf);
    QFETCH(qreal, distance);
    QCOMPARE(load(rtf)->defaultTextOption().tabStopDistance(), distance);
}

void TestRtfReader::unchangedFormatKeepsOneFragment()
{
    const std::unique_ptr<QTextDocument> document = load(R"({\rtf1 A{\b}B{}C\b0 D\u69?{\'46}})");
    QCOMPARE(blockTexts(*document), "ABCDEF");
    int fragments = 0;
    for (auto it = document->begin().begin(); !it.atEnd(); ++it)
        ++fragments;
    QCOMPARE(fragments, 1);
}

void TestRtfReader::emptyParagraphKeepsItsFormat()
{
    const std::unique_ptr<QTextDocument> document = load(R"({\rtf1 A\par\qc\par\pard B})");
    QCOMPARE(blockTexts(*document), "A\n\nB");
    QCOMPARE(document->findBlockByNumber(1).blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(document->findBlockByNumber(2).blockFormat().alignment(), Qt::AlignLeft);
}

// A stretch of the document about a screen tall keeps a bounded number of
// changes of format, the document another; a catalogue of real density keeps
// all of its own, and the reader says when it kept fewer.
void TestRtfReader::formatsKeptWhereTheyCanBeLaidOut_data()
{
    using namespace rtf::limits;
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("bold");      // characters kept in bold
    QTest::addColumn<bool>("lastBold"); // the last one, "z"
    QTest::addColumn<bool>("plainPast");
    // Entries of eight changes each, a line of the normal size each.
    const QByteArray entry = R"({\b Aus} {\i Ashby, 1900} {\ul K (Camp)} {\f1 (1, 2)}\par )";
    const int entries = MaxDocumentFormatChanges / 10;
    QTest::newRow("entries of a real catalogue")
        << R"({\rtf1 )" + entry.repeated(entries) + R"({\b z}})" << 3 * entries + 1 << true
        << false;
    // One-point characters, two changes each pair, then text tall enough to
    // end the stretch.
    const QByteArray dense = QByteArray(R"({\b x}y)").repeated(MaxStretchFormatChanges);
    const QByteArray tall = QByteArray(R"(\fs24 plain\par )").repeated(int(FormatStretchHeight));
    QTest::newRow("a dense stretch, then formats again")
        << R"({\rtf1\fs2 )" + dense + tall + R"({\b z}})" << MaxStretchFormatChanges / 2 + 1 << true
        << true;
    QTest::newRow("past the document's changes")
        << R"({\rtf1 )" + (dense + tall).repeated(MaxDocumentFormatChanges / 2000) + R"({\b z}})"
        << MaxDocumentFormatChanges / 2 << false << true;
}

void TestRtfReader::formatsKeptWhereTheyCanBeLaidOut()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, bold);
    QFETCH(bool, lastBold);
    QFETCH(bool, plainPast);
    const rtf::ReadResult read = rtf::read(rtf);
    QVERIFY(read.ok());
    QVERIFY(!read.cut);
    QCOMPARE(read.plainPast, plainPast);
    int boldCharacters = 0;
    bool last = false;
    for (QTextBlock block = read.document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            last = fragment.charFormat().fontWeight() == QFont::Bold;
            if (last)
                boldCharacters += fragment.length();
        }
    }
    QCOMPARE(boldCharacters, bold);
    QCOMPARE(last, lastBold);
}

void TestRtfReader::picture_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QSizeF>("size");
    const QByteArray hex = pngBytes(2, 3).toHex();
    const QByteArray png = pngBytes(2, 3);
    const QString image = "A\uFFFCB";
    QTest::newRow("goal size") << "{\\rtf1 A{\\pict\\pngblip\\picwgoal300\\pichgoal450 " + hex +
                                      "}B}"
                               << image << QSizeF(20, 30);
    QTest::newRow("scaled") << "{\\rtf1 A{\\pict\\pngblip\\picscalex50\\picscaley200\\picwgoal300"
                               "\\pichgoal450 " +
                                   hex + "}B}"
                            << image << QSizeF(10, 60);
    QTest::newRow("own size") << "{\\rtf1 A{\\pict\\pngblip " + hex + "}B}" << image << QSizeF();
    QTest::newRow("hex with line breaks")
        << "{\\rtf1 A{\\pict\\pngblip\\picwgoal30\\pichgoal45\r\n" + hex.left(20) + "\r\n" +
               hex.mid(20) + "}B}"
        << image << QSizeF(2, 3);
    QTest::newRow("bin") << "{\\rtf1 A{\\pict\\pngblip\\picwgoal30\\pichgoal45\\bin" +
                                QByteArray::number(png.size()) + " " + png + "}B}"
                         << image << QSizeF(2, 3);
    QTest::newRow("shape picture with alternative")
        << "{\\rtf1 A{\\*\\shppict{\\pict{\\*\\blipuid 0123}\\pngblip " + hex +
               "}}{\\nonshppict{\\pict\\wmetafile8 0102}}B}"
        << image << QSizeF();
    QTest::newRow("corrupt png") << QByteArray(R"({\rtf1 A{\pict\pngblip 0102}B})") << "AB"
                                 << QSizeF();
    QTest::newRow("png signature only")
        << QByteArray(R"({\rtf1 A{\pict\pngblip 89504e470d0a1a0a}B})") << "AB" << QSizeF();
    QTest::newRow("truncated png") << "{\\rtf1 A{\\pict\\pngblip " + hex.left(100) + "}B}"
                                   << "AB" << QSizeF();
    QTest::newRow("png data marked as jpeg") << "{\\rtf1 A{\\pict\\jpegblip " + hex + "}B}"
                                             << "AB" << QSizeF();
    QTest::newRow("hidden") << "{\\rtf1 A{\\v{\\pict\\pngblip " + hex + "}}B}"
                            << "AB" << QSizeF();
    QTest::newRow("in a skipped group") << "{\\rtf1 A{\\*\\foo{\\pict\\pngblip " + hex + "}}B}"
                                        << "AB" << QSizeF();
    QTest::newRow("picture in a picture")
        << "{\\rtf1 A{\\pict\\wmetafile8{\\pict\\pngblip " + hex + "}}B}"
        << "AB" << QSizeF();
}

void TestRtfReader::picture()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(QSizeF, size);
    const std::unique_ptr<QTextDocument> document = load(rtf);
    QCOMPARE(blockTexts(*document), expected);
    const QImage resource =
        document->resource(QTextDocument::ImageResource, QUrl("rtfpict:1")).value<QImage>();
    if (!expected.contains(QChar::ObjectReplacementCharacter)) {
        QVERIFY(resource.isNull());
        return;
    }
    QCOMPARE(resource.size(), QSize(2, 3));
    QTextCursor cursor(document.get());
    cursor.setPosition(expected.indexOf(QChar::ObjectReplacementCharacter) + 1);
    const QTextImageFormat format = cursor.charFormat().toImageFormat();
    QVERIFY(format.isValid());
    QCOMPARE(format.name(), "rtfpict:1");
    QCOMPARE(format.hasProperty(QTextFormat::ImageWidth), !size.isEmpty());
    QCOMPARE(QSizeF(format.width(), format.height()), size.isEmpty() ? QSizeF(0, 0) : size);
}

void TestRtfReader::pictureDataGoesToOneResourceEach()
{
    const QByteArray pict = "{\\pict\\pngblip " + pngBytes(2, 3).toHex() + "}";
    const std::unique_ptr<QTextDocument> document =
        load("{\\rtf1 " + pict + "\\par " + pict + pict + "}");
    QCOMPARE(blockTexts(*document), "\uFFFC\n\uFFFC\uFFFC");
    for (const char *name : {"rtfpict:1", "rtfpict:2", "rtfpict:3"}) {
        QVERIFY(
            !document->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>().isNull());
    }
}

// Large pictures cost little to encode but much to decode: one whose decoded
// bytes pass the per-picture limit is dropped unread, the bytes of a
// document's pictures are capped, and so are the scans of a JPEG, each of
// which is a pass over the whole picture.
void TestRtfReader::pictureMemoryAndScansAreBounded_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    const auto pict = [](const QByteArray &data, const char *kind = "pngblip") {
        return "{\\pict\\" + QByteArray(kind) + " " + data.toHex() + "}";
    };
    // 2900 x 2900 pixels are 32 MB at 4 bytes a pixel, 64.2 MB at 8.
    const QByteArray wide = pict(pngBytes(2900, 2900, QImage::Format_RGBA64));
    const QByteArray narrow = pict(pngBytes(2900, 2900));
    QTest::newRow("16 bits a channel counted as such") << "{\\rtf1 A" + wide + "B}"
                                                       << "AB";
    QTest::newRow("the same size at 8 bits") << "{\\rtf1 A" + narrow + "B}"
                                             << "A\uFFFCB";
    QTest::newRow("beyond the document's budget")
        << "{\\rtf1 A" + narrow + narrow + pict(pngBytes(2, 3)) + "B}"
        << "A\uFFFC\uFFFCB";
    QTest::newRow("a one-bit picture wider than 4096 pixels")
        << "{\\rtf1 A" + pict(pngBytes(8000, 2, QImage::Format_Mono)) + "B}"
        << "A\uFFFCB";
    QByteArray huge = pngBytes(1, 1, QImage::Format_RGBA64);
    huge.replace(16, 8, QByteArray::fromHex("7fffffff7fffffff")); // the header's sides
    QTest::newRow("a header of the widest sides") << "{\\rtf1 A" + pict(huge) + "B}"
                                                  << "AB";
    const int scans = rtf::limits::MaxJpegScans;
    QTest::newRow("JPEG with as many scans as allowed")
        << "{\\rtf1 A" + pict(jpegWithScans(scans), "jpegblip") + "B}"
        << "A\uFFFCB";
    QTest::newRow("JPEG with a scan too many")
        << "{\\rtf1 A" + pict(jpegWithScans(scans + 1), "jpegblip") + "B}"
        << "AB";
}

void TestRtfReader::pictureMemoryAndScansAreBounded()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const std::unique_ptr<QTextDocument> document = load(rtf);
    QCOMPARE(blockTexts(*document), expected);
    const qsizetype shown = expected.count(QChar::ObjectReplacementCharacter);
    qint64 bytes = 0;
    for (qsizetype picture = 1; picture <= shown; ++picture) {
        const QUrl name(QStringLiteral("rtfpict:%1").arg(picture));
        bytes +=
            document->resource(QTextDocument::ImageResource, name).value<QImage>().sizeInBytes();
    }
    QVERIFY(bytes > 0 || shown == 0);
    QVERIFY(bytes <= rtf::limits::MaxDocumentPictureBytes);
}

void TestRtfReader::rejectsNonRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("white space only") << QByteArray(" \r\n");
    QTest::newRow("plain text") << QByteArray("Hello {\\rtf1}");
    QTest::newRow("brace without rtf") << QByteArray("{\\rt}");
    QTest::newRow("upper case") << QByteArray("{\\RTF1}");
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf{\\rtf1}");
    QTest::newRow("no-break space before") << QByteArray("\xa0{\\rtf1}");
}

void TestRtfReader::rejectsNonRtf()
{
    QFETCH(QByteArray, bytes);
    const rtf::ReadResult result = rtf::read(bytes);
    QCOMPARE(result.error, rtf::ReadError::NotRtf);
    QVERIFY(!result.ok());
    QVERIFY(!result.document);
}

void TestRtfReader::codePagesHaveDecoders()
{
    QVERIFY(QStringDecoder("windows-1251").isValid());
    // Code pages a document can name with \ansicpg beyond those of the charsets.
    for (const int codePage : {850, 852, 866, 10007, 20866, 21866, 28592, 28595, 65001})
        QVERIFY2(rtf::isKnownCodePage(codePage), QByteArray::number(codePage));
    for (const int charset :
         {0, 2, 77, 128, 129, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 254, 255})
        QVERIFY2(rtf::isKnownCodePage(rtf::codePageForCharset(charset)),
                 QByteArray::number(charset));
    QCOMPARE(rtf::codePageForCharset(1), 0);
}

void TestRtfReader::limitsHoldOnHugeTables()
{
    QByteArray fonts = "{\\fonttbl";
    for (int i = 0; i < 3000; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    fonts += "{\\f5000 " + QByteArray(100000, 'n') + ";}}";
    const QByteArray colors = "{\\colortbl" + QByteArray("\\red1;").repeated(3000) + "}";
    const std::unique_ptr<QTextDocument> document =
        load("{\\rtf1" + fonts + colors + "{\\f5 A}{\\f2999 B}{\\cf5 C}{\\cf2999 D}}");
    QCOMPARE(blockTexts(*document), "ABCD");
    QCOMPARE(formatOf(*document, "A").fontFamilies(), QVariant(QStringList{"F5"}));
    QVERIFY(!formatOf(*document, "B").hasProperty(QTextFormat::FontFamilies));
    QCOMPARE(formatOf(*document, "C").foreground().color(), QColor(1, 0, 0));
    QVERIFY(!formatOf(*document, "D").hasProperty(QTextFormat::ForegroundBrush));
}

// Damaged copies of a document using most features: every byte position may
// be dropped, doubled or replaced by a brace, a backslash or a digit. Reading
// must neither crash nor trip the sanitizers.
void TestRtfReader::survivesRandomDamage()
{
    const QByteArray sample =
        R"({\rtf1\ansi\ansicpg1251\deff0\uc1{\fonttbl{\f0\fcharset204 Arial;}{\f1 T;}})"
        R"({\colortbl;\red1\green2\blue3;}{\*\x y}{\info{\title t}}\pard\qc\li720\fi-360 )"
        R"({\b\i\ul\fs28\cf1 \'cf\'f0}\u1055?\u-10179?\u-8704?{\field{\*\fldinst X}{\fldrslt Y}})"
        R"(\par\trowd\intbl A\cell B\cell\row{\v h}\tab\~\-{\pict\pngblip\picwgoal30 89504e47})"
        R"(\bin2 ab\plain\f1\super s\nosupersub\line end\par})";
    QRandomGenerator random(20240501);
    const QByteArray noise = "{}\\'0123456789-;*";
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = sample;
        for (int cut = random.bounded(1, 6); cut > 0; --cut) {
            const int at = random.bounded(int(damaged.size()));
            switch (random.bounded(3)) {
            case 0:
                damaged.remove(at, random.bounded(1, 8));
                break;
            case 1:
                damaged.insert(at, damaged.mid(at, random.bounded(1, 40)));
                break;
            default:
                damaged[at] = noise.at(random.bounded(int(noise.size())));
                break;
            }
        }
        const rtf::ReadResult result = rtf::read(damaged);
        QCOMPARE(result.ok(), damaged.startsWith("{\\rtf"));
    }
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
