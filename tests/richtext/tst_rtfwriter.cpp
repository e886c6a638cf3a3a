#include "RtfWriter.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace fosdat;

namespace
{

// A run of text and the format it is inserted with.
struct Run {
    QString text;
    QTextCharFormat format;
};

const QByteArray DefaultTables = "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n{\\colortbl;}\r\n";

// Documents start from a default font whose size is RTF's own default, and
// RTF's default tab distance, so that only what a test sets shows up in the output.
std::unique_ptr<QTextDocument> newDocument()
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(48);
    document->setDefaultTextOption(option);
    return document;
}

// One paragraph per entry, each made of runs.
std::unique_ptr<QTextDocument> makeDocument(const QList<QList<Run>> &paragraphs,
                                            const QList<QTextBlockFormat> &blockFormats = {})
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const QTextBlockFormat blockFormat = blockFormats.value(i);
        if (i > 0)
            cursor.insertBlock(blockFormat);
        else
            cursor.setBlockFormat(blockFormat);
        for (const Run &run : paragraphs[i])
            cursor.insertText(run.text, run.format);
    }
    return document;
}

std::unique_ptr<QTextDocument> plainDocument(const QString &text)
{
    return makeDocument({{{text, {}}}});
}

QByteArray header()
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\r\n";
}

// The tables: everything between the header line and the first paragraph.
QByteArray tablesOf(const QByteArray &rtf)
{
    const qsizetype start = header().size();
    return rtf.mid(start, rtf.indexOf("\\pard") - start);
}

// The paragraphs: everything from the first paragraph on.
QByteArray bodyOf(const QByteArray &rtf)
{
    return rtf.mid(rtf.indexOf("\\pard"));
}

// One paragraph as written: its words, then its text, delimited where needed.
QByteArray paragraph(const QByteArray &text)
{
    const bool delimit = !text.isEmpty() && !text.startsWith('\\') && !text.startsWith('{');
    return "\\pard" + QByteArray(delimit ? " " : "") + text + "\\par\r\n";
}

QTextCharFormat charFormat(void (*set)(QTextCharFormat &))
{
    QTextCharFormat format;
    set(format);
    return format;
}

} // namespace

class TestRtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void layoutOfTheWhole()
    {
        const QByteArray rtf = rtf::write(*plainDocument(QStringLiteral("text")));
        QCOMPARE(rtf, header() + DefaultTables + "\\pard text\\par\r\n}");
    }

    void emptyDocument()
    {
        QCOMPARE(rtf::write(*newDocument()), header() + DefaultTables + "\\pard\\par\r\n}");
    }

    void defaultTabDistance_data()
    {
        QTest::addColumn<qreal>("distance");
        QTest::addColumn<QByteArray>("words");
        QTest::newRow("RTF's default") << 48.0 << QByteArray();
        QTest::newRow("Qt's default") << 80.0 << QByteArray("\\deftab1200\r\n");
        QTest::newRow("none is the layout's default") << 0.0 << QByteArray("\\deftab1200\r\n");
        QTest::newRow("fraction") << 75.6 << QByteArray("\\deftab1134\r\n");
        QTest::newRow("huge") << 1e300 << QByteArray("\\deftab31680\r\n");
    }
    void defaultTabDistance()
    {
        QFETCH(qreal, distance);
        QFETCH(QByteArray, words);
        auto document = plainDocument(QStringLiteral("x"));
        QTextOption option = document->defaultTextOption();
        option.setTabStopDistance(distance);
        document->setDefaultTextOption(option);
        // The document's own setting comes after the tables.
        QCOMPARE(tablesOf(rtf::write(*document)), DefaultTables + words);
    }

    void charFormats_data()
    {
        QTest::addColumn<QTextFormat>("format");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("tables");

        const auto row = [](const char *name, void (*set)(QTextCharFormat &), const char *body,
                            const QByteArray &tables = DefaultTables) {
            QTest::newRow(name) << QTextFormat(charFormat(set)) << QByteArray(body) << tables;
        };
        row(
            "bold", [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); }, "a\\b b\\b0 c");
        row(
            "demi-bold is bold", [](QTextCharFormat &f) { f.setFontWeight(QFont::DemiBold); },
            "a\\b b\\b0 c");
        row(
            "medium is not bold", [](QTextCharFormat &f) { f.setFontWeight(QFont::Medium); },
            "abc");
        row(
            "italic", [](QTextCharFormat &f) { f.setFontItalic(true); }, "a\\i b\\i0 c");
        row(
            "underline", [](QTextCharFormat &f) { f.setFontUnderline(true); }, "a\\ul b\\ulnone c");
        row(
            "strike", [](QTextCharFormat &f) { f.setFontStrikeOut(true); },
            "a\\strike b\\strike0 c");
        row(
            "bold italic",
            [](QTextCharFormat &f) {
                f.setFontWeight(QFont::Bold);
                f.setFontItalic(true);
            },
            "a\\b\\i b\\b0\\i0 c");
        row(
            "font", [](QTextCharFormat &f) { f.setFontFamilies({"Courier New"}); }, "a\\f1 b\\f0 c",
            "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}{\\f1\\fnil\\fcharset204 Courier "
            "New;}}\r\n{\\colortbl;}\r\n");
        row(
            "default font named", [](QTextCharFormat &f) { f.setFontFamilies({"Arial"}); }, "abc");
        row(
            "Cyrillic font name", [](QTextCharFormat &f) { f.setFontFamilies({"Шрифт"}); },
            "a\\f1 b\\f0 c",
            "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}{\\f1\\fnil\\fcharset204"
            "\\'d8\\'f0\\'e8\\'f4\\'f2;}}\r\n{\\colortbl;}\r\n");
        row(
            "Greek font name", [](QTextCharFormat &f) { f.setFontFamilies({"Ωmega"}); },
            "a\\f1 b\\f0 c",
            "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}{\\f1\\fnil\\fcharset204"
            "\\u937?mega;}}\r\n{\\colortbl;}\r\n");
        row(
            "all capitals",
            [](QTextCharFormat &f) { f.setFontCapitalization(QFont::AllUppercase); },
            "a\\caps b\\caps0 c");
        row(
            "small capitals", [](QTextCharFormat &f) { f.setFontCapitalization(QFont::SmallCaps); },
            "a\\scaps b\\scaps0 c");
        row(
            "mixed case is no capitals",
            [](QTextCharFormat &f) { f.setFontCapitalization(QFont::MixedCase); }, "abc");
        row(
            "size", [](QTextCharFormat &f) { f.setFontPointSize(10); }, "a\\fs20 b\\fs24 c");
        row(
            "huge size", [](QTextCharFormat &f) { f.setFontPointSize(1e9); },
            "a\\fs3276 b\\fs24 c");
        row(
            "tiny size", [](QTextCharFormat &f) { f.setFontPointSize(0.01); }, "a\\fs1 b\\fs24 c");
        row(
            "half-point size", [](QTextCharFormat &f) { f.setFontPointSize(10.5); },
            "a\\fs21 b\\fs24 c");
        row(
            "default size named", [](QTextCharFormat &f) { f.setFontPointSize(12); }, "abc");
        row(
            "foreground", [](QTextCharFormat &f) { f.setForeground(QColor(255, 0, 0)); },
            "a\\cf1 b\\cf0 c",
            "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
            "{\\colortbl;\\red255\\green0\\blue0;}\r\n");
        row(
            "background", [](QTextCharFormat &f) { f.setBackground(QColor(1, 2, 3)); },
            "a\\highlight1 b\\highlight0 c",
            "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
            "{\\colortbl;\\red1\\green2\\blue3;}\r\n");
        row(
            "both colors",
            [](QTextCharFormat &f) {
                f.setForeground(QColor(0, 0, 255));
                f.setBackground(QColor(0, 0, 255));
            },
            "a\\cf1\\highlight1 b\\cf0\\highlight0 c",
            "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
            "{\\colortbl;\\red0\\green0\\blue255;}\r\n");
        row(
            "superscript",
            [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); },
            "a\\super b\\nosupersub c");
        row(
            "subscript",
            [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); },
            "a\\sub b\\nosupersub c");
        row(
            "middle is not a position",
            [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignMiddle); },
            "abc");
        row(
            "unwritten property", [](QTextCharFormat &f) { f.setFontLetterSpacing(150); }, "abc");
    }
    void charFormats()
    {
        QFETCH(QTextFormat, format);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, tables);
        const auto document = makeDocument({{{"a", {}}, {"b", format.toCharFormat()}, {"c", {}}}});
        const QByteArray rtf = rtf::write(*document);
        QCOMPARE(bodyOf(rtf), "\\pard " + body + "\\par\r\n}");
        QCOMPARE(tablesOf(rtf), tables);
    }

    void blockFormats_data()
    {
        QTest::addColumn<QTextFormat>("format");
        QTest::addColumn<QByteArray>("words");

        const auto row = [](const char *name, void (*set)(QTextBlockFormat &), const char *words) {
            QTextBlockFormat format;
            set(format);
            QTest::newRow(name) << QTextFormat(format) << QByteArray(words);
        };
        row(
            "left", [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignLeft); }, "");
        row(
            "centre", [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignHCenter); }, "\\qc");
        row(
            "right", [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignRight); }, "\\qr");
        row(
            "justify", [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignJustify); }, "\\qj");
        row(
            "left margin", [](QTextBlockFormat &f) { f.setLeftMargin(20); }, "\\li300");
        row(
            "right margin", [](QTextBlockFormat &f) { f.setRightMargin(10); }, "\\ri150");
        row(
            "hanging indent", [](QTextBlockFormat &f) { f.setTextIndent(-10); }, "\\fi-150");
        row(
            "fractional pixels", [](QTextBlockFormat &f) { f.setTextIndent(0.4); }, "\\fi6");
        row(
            "space before", [](QTextBlockFormat &f) { f.setTopMargin(4); }, "\\sb60");
        row(
            "space after", [](QTextBlockFormat &f) { f.setBottomMargin(2); }, "\\sa30");
        row(
            "indent level", [](QTextBlockFormat &f) { f.setIndent(2); }, "\\li1200");
        row(
            "huge negative indent", [](QTextBlockFormat &f) { f.setTextIndent(-1e300); },
            "\\fi-31680");
        row(
            "huge margin", [](QTextBlockFormat &f) { f.setLeftMargin(1e300); }, "\\li31680");
        row(
            "tab stop",
            [](QTextBlockFormat &f) {
                f.setTabPositions({{151.2, QTextOption::LeftTab}});
            },
            "\\tx2268");
        row(
            "tab kinds",
            [](QTextBlockFormat &f) {
                f.setTabPositions({{100, QTextOption::RightTab},
                                   {200, QTextOption::CenterTab},
                                   {300, QTextOption::DelimiterTab, u'.'},
                                   {400, QTextOption::LeftTab}});
            },
            "\\tqr\\tx1500\\tqc\\tx3000\\tqdec\\tx4500\\tx6000");
        row(
            "tab stops a reader takes",
            [](QTextBlockFormat &f) {
                f.setTabPositions({{-1, QTextOption::RightTab}, {1e300, QTextOption::LeftTab}});
            },
            "\\tx31680");
        row(
            "catalogue paragraph",
            [](QTextBlockFormat &f) {
                f.setLeftMargin(284 / 15.0);
                f.setTextIndent(-284 / 15.0);
                f.setTabPositions({{151.2, QTextOption::LeftTab}});
            },
            "\\li284\\fi-284\\tx2268");
        row(
            "all",
            [](QTextBlockFormat &f) {
                f.setAlignment(Qt::AlignHCenter);
                f.setLeftMargin(1);
                f.setRightMargin(2);
                f.setTextIndent(3);
                f.setTopMargin(4);
                f.setBottomMargin(5);
            },
            "\\qc\\li15\\ri30\\fi45\\sb60\\sa75");
    }
    void blockFormats()
    {
        QFETCH(QTextFormat, format);
        QFETCH(QByteArray, words);
        auto document = makeDocument({{{"x", {}}}, {{"y", {}}}}, {format.toBlockFormat()});
        document->setIndentWidth(40);
        // \pard resets the paragraph: the second paragraph carries nothing over.
        QCOMPARE(bodyOf(rtf::write(*document)), "\\pard" + words + " x\\par\r\n\\pard y\\par\r\n}");
    }

    void text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");

        QTest::newRow("ASCII") << "Abc 1, 2; (x)" << QByteArray("Abc 1, 2; (x)");
        QTest::newRow("braces and backslash") << "a\\b{c}" << QByteArray("a\\\\b\\{c\\}");
        QTest::newRow("tab") << "a\tb" << QByteArray("a\\tab b");
        QTest::newRow("tab before digit") << "\t1" << QByteArray("\\tab 1");
        QTest::newRow("tab before hyphen") << "\t-" << QByteArray("\\tab -");
        QTest::newRow("tab before space") << "\t x" << QByteArray("\\tab  x");
        QTest::newRow("tab before comma") << "\t," << QByteArray("\\tab,");
        QTest::newRow("line separator") << "a\u2028b" << QByteArray("a\\line b");
        QTest::newRow("no-break space") << "a\u00a0b" << QByteArray("a\\~b");
        QTest::newRow("soft hyphen") << "a\u00adb" << QByteArray("a\\-b");
        QTest::newRow("no-break hyphen") << "a\u2011b" << QByteArray("a\\_b");
        QTest::newRow("Cyrillic") << "Привет" << QByteArray("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2");
        QTest::newRow("Cyrillic then digit") << "я1" << QByteArray("\\'ff1");
        QTest::newRow("yo, numero") << "Ёё№" << QByteArray("\\'a8\\'b8\\'b9");
        QTest::newRow("euro, dash, quotes") << "€—«»" << QByteArray("\\'88\\'97\\'ab\\'bb");
        QTest::newRow("Greek") << "αΩ" << QByteArray("\\u945?\\u937?");
        QTest::newRow("Latin-1 outside 1251") << "é" << QByteArray("\\u233?");
        QTest::newRow("negative unit") << "\uffe0" << QByteArray("\\u-32?");
        QTest::newRow("lowest negative") << "\u8000" << QByteArray("\\u-32768?");
        QTest::newRow("emoji") << "😀" << QByteArray("\\u-10179?\\u-8704?");
        QTest::newRow("CJK then Latin") << "中a" << QByteArray("\\u20013?a");
        QTest::newRow("control character") << QString(QChar(1)) << QByteArray("\\'01");
        QTest::newRow("delete") << QString(QChar(0x7f)) << QByteArray("\\'7f");
    }
    void text()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf::write(*plainDocument(text))), paragraph(body) + "}");
    }

    void everyWindows1251CharacterIsOneByte()
    {
        QStringDecoder decoder("windows-1251");
        QVERIFY2(decoder.isValid(), "Qt lacks the Windows-1251 code page");
        for (int byte = 0x80; byte <= 0xff; ++byte) {
            const QString character = decoder.decode(QByteArray(1, char(byte)));
            if (character == QChar(QChar::ReplacementCharacter) ||
                character.front().unicode() < 0x80)
                continue;
            const QByteArray expected = "\\pard\\'" + QByteArray::number(byte, 16);
            const QByteArray body = bodyOf(rtf::write(*plainDocument(character)));
            if (character == u"\u00a0" || character == u"\u00ad")
                continue; // written as control symbols
            QVERIFY2(body.startsWith(expected), body.constData());
        }
    }

    void paragraphs_data()
    {
        QTest::addColumn<QStringList>("paragraphs");
        QTest::addColumn<QByteArray>("body");

        QTest::newRow("two") << QStringList{"a", "b"}
                             << QByteArray("\\pard a\\par\r\n\\pard b\\par\r\n");
        QTest::newRow("empty between") << QStringList{"a", "", "b"}
                                       << QByteArray("\\pard a\\par\r\n\\pard\\par\r\n"
                                                     "\\pard b\\par\r\n");
        QTest::newRow("empty first")
            << QStringList{"", "a"} << QByteArray("\\pard\\par\r\n\\pard a\\par\r\n");
        QTest::newRow("empty last")
            << QStringList{"a", ""} << QByteArray("\\pard a\\par\r\n\\pard\\par\r\n");
        QTest::newRow("only empty")
            << QStringList{"", ""} << QByteArray("\\pard\\par\r\n\\pard\\par\r\n");
    }
    void paragraphs()
    {
        QFETCH(QStringList, paragraphs);
        QFETCH(QByteArray, body);
        QList<QList<Run>> runs;
        for (const QString &text : paragraphs)
            runs.append({{text, {}}});
        QCOMPARE(bodyOf(rtf::write(*makeDocument(runs))), body + "}");
    }

    void formatChangesOnly_data()
    {
        QTest::addColumn<QList<QList<int>>>("paragraphs"); // per run: bit 0 bold, bit 1 italic
        QTest::addColumn<QByteArray>("body");

        QTest::newRow("overlapping")
            << QList<QList<int>>{{1, 3, 2}} << QByteArray("\\pard\\b x\\i x\\b0 x\\par\r\n");
        QTest::newRow("carried into the next paragraph")
            << QList<QList<int>>{{1}, {1}, {0}}
            << QByteArray("\\pard\\b x\\par\r\n\\pard x\\par\r\n\\pard\\b0 x\\par\r\n");
        QTest::newRow("carried over an empty paragraph")
            << QList<QList<int>>{{2}, {}, {2}}
            << QByteArray("\\pard\\i x\\par\r\n\\pard\\par\r\n\\pard x\\par\r\n");
    }
    void formatChangesOnly()
    {
        QFETCH(QList<QList<int>>, paragraphs);
        QFETCH(QByteArray, body);
        QList<QList<Run>> runs;
        for (const QList<int> &paragraph : paragraphs) {
            QList<Run> &added = runs.emplaceBack();
            for (const int bits : paragraph) {
                QTextCharFormat format;
                format.setFontWeight(bits & 1 ? QFont::Bold : QFont::Normal);
                format.setFontItalic(bits & 2);
                added.append({"x", format});
            }
        }
        QCOMPARE(bodyOf(rtf::write(*makeDocument(runs))), body + "}");
    }

    void formatsThatWriteAlikeChangeNothing()
    {
        QTextCharFormat spaced;
        spaced.setFontLetterSpacing(120);
        QTextCharFormat anchored;
        anchored.setToolTip("tip");
        const auto document = makeDocument({{{"a", {}}, {"b", spaced}, {"c", anchored}}});
        QCOMPARE(bodyOf(rtf::write(*document)), "\\pard abc\\par\r\n}");
    }

    void tablesInOrderOfFirstUse()
    {
        QTextCharFormat red, blue, mono;
        red.setForeground(Qt::red);
        blue.setBackground(Qt::blue);
        mono.setFontFamilies({"Courier New"});
        mono.setForeground(Qt::blue);
        // The formats are created blue first, but red is used first.
        auto document = newDocument();
        QTextCursor cursor(document.get());
        cursor.insertText("b", blue);
        cursor.insertText("m", mono);
        cursor.setPosition(0);
        cursor.insertText("r", red);
        const QByteArray rtf = rtf::write(*document);
        QCOMPARE(tablesOf(rtf),
                 "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}{\\f1\\fnil\\fcharset204 "
                 "Courier New;}}\r\n{\\colortbl;\\red255\\green0\\blue0;"
                 "\\red0\\green0\\blue255;}\r\n");
        QCOMPARE(bodyOf(rtf), "\\pard\\cf1 r\\cf0\\highlight2 b\\f1\\cf2\\highlight0 m\\par\r\n}");
    }

    void unusedFormatsStayOutOfTheTables()
    {
        QTextCharFormat red;
        red.setForeground(Qt::red);
        red.setFontFamilies({"Courier New"});
        auto document = newDocument();
        QTextCursor cursor(document.get());
        cursor.insertText("gone", red);
        cursor.select(QTextCursor::Document);
        cursor.insertText("kept", {});
        QCOMPARE(tablesOf(rtf::write(*document)), DefaultTables);
    }

    void sameDocumentSameBytes()
    {
        const auto build = [] {
            QTextCharFormat format;
            format.setForeground(QColor(10, 20, 30));
            format.setFontFamilies({"Times New Roman"});
            return makeDocument({{{"Род ", {}}, {"Genus", format}}, {{"Ω", format}}});
        };
        const auto first = build();
        const QByteArray once = rtf::write(*first);
        QCOMPARE(rtf::write(*first), once);
        QCOMPARE(rtf::write(*build()), once);
    }

    void linesStayShort()
    {
        QString text;
        for (int i = 0; i < 400; ++i)
            text += i % 3 ? QStringLiteral("слово ") : QStringLiteral("word\t{x} ");
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        const auto document = makeDocument({{{text, {}}, {text, bold}, {text, {}}}});
        const QByteArray rtf = rtf::write(*document);
        const QList<QByteArray> lines = rtf.split('\n');
        QVERIFY(lines.size() > 20);
        for (const QByteArray &line : lines)
            QVERIFY2(line.size() <= 220, line.constData());
        // Breaks fall where readers ignore them: never inside a control word or
        // between a word and the text it delimits.
        QByteArray joined = rtf;
        joined.replace("\r\n", "");
        QVERIFY(joined.contains("\\b word"));
        static const QRegularExpression wordThenBreak(R"(\\[a-z]+-?\d*\r\n[^\\{}])");
        QVERIFY(!wordThenBreak.match(QString::fromLatin1(rtf)).hasMatch());
    }

    void tableCellsAreFlattened()
    {
        auto document = newDocument();
        QTextCursor cursor(document.get());
        cursor.insertText("before");
        QTextTable *table = cursor.insertTable(1, 2);
        table->cellAt(0, 0).firstCursorPosition().insertText("c1");
        table->cellAt(0, 1).firstCursorPosition().insertText("c2");
        const QByteArray body = bodyOf(rtf::write(*document));
        QVERIFY(body.indexOf("before") < body.indexOf("c1"));
        QVERIFY(body.indexOf("c1") < body.indexOf("c2"));
    }

    void picture()
    {
        QImage image(3, 2, QImage::Format_ARGB32);
        image.fill(QColor(200, 10, 20));
        image.setPixelColor(1, 1, QColor(0, 255, 0, 128));
        auto document = newDocument();
        document->addResource(QTextDocument::ImageResource, QUrl("img"), image);
        QTextCursor cursor(document.get());
        cursor.insertText("a");
        QTextImageFormat format;
        format.setName("img");
        format.setWidth(30);
        format.setHeight(20);
        cursor.insertImage(format);
        cursor.insertImage(format);
        cursor.insertText("b");

        const QByteArray body = bodyOf(rtf::write(*document));
        const QByteArray start = "{\\pict\\pngblip\\picw3\\pich2\\picwgoal450\\pichgoal300 ";
        QCOMPARE(body.count(start), 2);
        const qsizetype from = body.indexOf(start) + start.size();
        QByteArray hex = body.mid(from, body.indexOf('}', from) - from);
        hex.replace("\r\n", "");
        const QImage written = QImage::fromData(QByteArray::fromHex(hex), "PNG");
        QCOMPARE(written.convertToFormat(QImage::Format_ARGB32), image);
        QVERIFY(body.startsWith("\\pard a{\\pict"));
        QVERIFY(body.endsWith("}b\\par\r\n}"));
    }

    void pictureSize_data()
    {
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");
        QTest::addColumn<QByteArray>("goal");
        QTest::newRow("both given") << 30.0 << 5.0 << QByteArray("\\picwgoal450\\pichgoal75");
        QTest::newRow("none given") << 0.0 << 0.0 << QByteArray("\\picwgoal60\\pichgoal30");
        QTest::newRow("width given") << 8.0 << 0.0 << QByteArray("\\picwgoal120\\pichgoal60");
        QTest::newRow("height given") << 0.0 << 8.0 << QByteArray("\\picwgoal240\\pichgoal120");
        QTest::newRow("at the length limit")
            << 2112.0 << 1.0 << QByteArray("\\picwgoal31680\\pichgoal15");
        QTest::newRow("beyond the length limit")
            << 3000.0 << 0.0 << QByteArray("\\picwgoal31250\\pichgoal22500\\picscalex144");
        QTest::newRow("both beyond")
            << 2113.0 << 4000.0
            << QByteArray("\\picwgoal25356\\pichgoal31250\\picscalex125\\picscaley192");
        QTest::newRow("no exact scale")
            << 31687 / 15.0 << 1.0 << QByteArray("\\picwgoal31373\\pichgoal15\\picscalex101");
        QTest::newRow("beyond the largest scale")
            << 1e9 << 1.0 << QByteArray("\\picwgoal31680\\pichgoal15\\picscalex1000");
    }
    void pictureSize()
    {
        QFETCH(qreal, width);
        QFETCH(qreal, height);
        QFETCH(QByteArray, goal);
        auto document = newDocument();
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(Qt::blue);
        document->addResource(QTextDocument::ImageResource, QUrl("img"), image);
        QTextImageFormat format;
        format.setName("img");
        if (width > 0)
            format.setWidth(width);
        if (height > 0)
            format.setHeight(height);
        QTextCursor(document.get()).insertImage(format);
        QVERIFY(rtf::write(*document).contains("\\picw4\\pich2" + goal + " "));
    }

    void pictureWithoutImageIsLeftOut()
    {
        auto document = newDocument();
        QTextCursor cursor(document.get());
        QTextImageFormat format;
        format.setName("missing");
        cursor.insertImage(format);
        QCOMPARE(bodyOf(rtf::write(*document)), "\\pard\\par\r\n}");
    }
};

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
