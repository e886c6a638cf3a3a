// Writing and reading back: the writer's output read by our own reader and by
// LibreOffice.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>

using namespace fosdat;

namespace
{

// What the writer carries of a character's format, with unset properties
// resolved against the document's default font.
struct Looks {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString family;
    qreal points = 0;
    std::optional<QRgb> foreground;
    std::optional<QRgb> background;
    int position = QTextCharFormat::AlignNormal;
    int capitals = QFont::MixedCase;

    bool operator==(const Looks &) const = default;
};

std::optional<QRgb> colorOf(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgb();
}

Looks looksOf(const QTextCharFormat &format, const QFont &defaultFont)
{
    Looks looks;
    looks.bold = format.fontWeight() >= QFont::DemiBold;
    looks.italic = format.fontItalic();
    looks.underline = format.fontUnderline();
    looks.strike = format.fontStrikeOut();
    const QStringList families = format.fontFamilies().toStringList();
    looks.family = families.isEmpty() ? defaultFont.family() : families.front();
    looks.points = format.fontPointSize() > 0 ? format.fontPointSize() : defaultFont.pointSizeF();
    looks.foreground = colorOf(format.foreground());
    looks.background = colorOf(format.background());
    const auto position = format.verticalAlignment();
    if (position == QTextCharFormat::AlignSuperScript ||
        position == QTextCharFormat::AlignSubScript)
        looks.position = position;
    looks.capitals = format.fontCapitalization();
    return looks;
}

QString describe(const Looks &looks)
{
    const auto color = [](const std::optional<QRgb> &rgb) {
        return rgb ? QString::number(*rgb, 16) : QStringLiteral("none");
    };
    return QStringLiteral("b%1 i%2 u%3 s%4 '%5' %6pt fg %7 bg %8 pos %9 caps %10")
        .arg(looks.bold)
        .arg(looks.italic)
        .arg(looks.underline)
        .arg(looks.strike)
        .arg(looks.family)
        .arg(looks.points)
        .arg(color(looks.foreground), color(looks.background))
        .arg(looks.position)
        .arg(looks.capitals);
}

// The looks of each character of a block.
QList<Looks> looksOf(const QTextBlock &block)
{
    const QFont defaultFont = block.document()->defaultFont();
    QList<Looks> result;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const Looks looks = looksOf(it.fragment().charFormat(), defaultFont);
        result.insert(result.size(), it.fragment().length(), looks);
    }
    return result;
}

// Describes the first difference between two documents in text, paragraph
// format or character format; empty when there is none.
QString firstDifference(const QTextDocument &expected, const QTextDocument &actual)
{
    const qreal tabDistance = expected.defaultTextOption().tabStopDistance();
    if (actual.defaultTextOption().tabStopDistance() != tabDistance)
        return QStringLiteral("tab distance %1, expected %2")
            .arg(actual.defaultTextOption().tabStopDistance())
            .arg(tabDistance);
    if (expected.blockCount() != actual.blockCount()) {
        return QStringLiteral("%1 paragraphs, expected %2:\n%3\n--- expected:\n%4")
            .arg(actual.blockCount())
            .arg(expected.blockCount())
            .arg(actual.toPlainText(), expected.toPlainText());
    }
    QTextBlock a = actual.begin();
    for (QTextBlock e = expected.begin(); e.isValid(); e = e.next(), a = a.next()) {
        const QString where = QStringLiteral("paragraph %1: ").arg(e.blockNumber());
        if (e.text() != a.text())
            return where + QStringLiteral("text '%1', expected '%2'").arg(a.text(), e.text());
        const QTextBlockFormat ef = e.blockFormat(), af = a.blockFormat();
        if ((ef.alignment() & Qt::AlignHorizontal_Mask) !=
                (af.alignment() & Qt::AlignHorizontal_Mask) ||
            ef.leftMargin() != af.leftMargin() || ef.rightMargin() != af.rightMargin() ||
            ef.textIndent() != af.textIndent() || ef.topMargin() != af.topMargin() ||
            ef.bottomMargin() != af.bottomMargin() || ef.tabPositions() != af.tabPositions()) {
            return where + QStringLiteral("paragraph format differs");
        }
        const QList<Looks> el = looksOf(e), al = looksOf(a);
        for (qsizetype i = 0; i < el.size(); ++i) {
            if (el[i] != al.value(i)) {
                return where + QStringLiteral("character %1: %2, expected %3")
                                   .arg(i)
                                   .arg(describe(al.value(i)), describe(el[i]));
            }
        }
    }
    return {};
}

// Random documents of every format the writer carries, over text that mixes
// scripts and the characters RTF treats specially.
class RandomDocument
{
public:
    explicit RandomDocument(quint32 seed) : m_random(seed) {}

    std::unique_ptr<QTextDocument> build()
    {
        // The default font stays the application's, as in every document the
        // reader makes: font 0 of a written file is the document's default font.
        auto document = std::make_unique<QTextDocument>();
        if (chance(50)) {
            QTextOption option = document->defaultTextOption();
            option.setTabStopDistance(pick({48.0, 75.6, 100.0}));
            document->setDefaultTextOption(option);
        }
        QTextCursor cursor(document.get());
        const int paragraphs = bounded(1, 8);
        for (int p = 0; p < paragraphs; ++p) {
            if (p > 0)
                cursor.insertBlock(blockFormat());
            else
                cursor.setBlockFormat(blockFormat());
            const int runs = bounded(0, 6);
            for (int r = 0; r < runs; ++r)
                cursor.insertText(text(), charFormat());
        }
        return document;
    }

private:
    int bounded(int lowest, int highest) { return m_random.bounded(lowest, highest + 1); }
    bool chance(int percent) { return bounded(1, 100) <= percent; }
    template <typename T> T pick(std::initializer_list<T> items)
    {
        return items.begin()[bounded(0, int(items.size()) - 1)];
    }

    QString text()
    {
        static const QStringList pieces{
            "a", "Z",  "q",  "0",      "7",      " ",      " ",      "-", "?", ";",    "{",
            "}", "\\", "\t", "\u2028", "\u00a0", "\u00ad", "\u2011", "ж", "Я", "Ё",    "ё",
            "№", "«",  "—",  "α",      "Ω",      "é",      "中",     "😀", "𝔸", "word", "слово"};
        QString text;
        for (int i = bounded(1, 10); i > 0; --i)
            text += pieces[bounded(0, int(pieces.size()) - 1)];
        return text;
    }

    QColor color()
    {
        return pick<QColor>(
            {Qt::black, Qt::white, QColor(255, 0, 0), QColor(1, 2, 3), QColor(0, 128, 255)});
    }

    QTextCharFormat charFormat()
    {
        QTextCharFormat format;
        if (chance(30))
            format.setFontWeight(QFont::Bold);
        format.setFontItalic(chance(30));
        format.setFontUnderline(chance(30));
        format.setFontStrikeOut(chance(20));
        if (chance(50))
            format.setFontFamilies({pick<QString>({"Arial", "Courier New", "Times New Roman",
                                                   "Шрифт Ё", "Ωμέγα", "中文字体", "Emoji 😀"})});
        if (chance(50))
            format.setFontPointSize(pick({8.0, 9.5, 10.0, 14.0, 20.0}));
        if (chance(40))
            format.setForeground(color());
        if (chance(25))
            format.setBackground(color());
        if (chance(30)) {
            format.setVerticalAlignment(
                pick({QTextCharFormat::AlignSuperScript, QTextCharFormat::AlignSubScript}));
        }
        if (chance(20))
            format.setFontCapitalization(pick({QFont::AllUppercase, QFont::SmallCaps}));
        return format;
    }

    QTextBlockFormat blockFormat()
    {
        QTextBlockFormat format;
        format.setAlignment(pick<Qt::Alignment>(
            {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify}));
        if (chance(40)) {
            format.setLeftMargin(bounded(0, 600) / 15.0);
            format.setRightMargin(bounded(0, 40));
            format.setTextIndent(bounded(-20, 20));
        }
        if (chance(30)) {
            format.setTopMargin(bounded(0, 10));
            format.setBottomMargin(bounded(0, 150) / 15.0);
        }
        if (chance(40))
            format.setTabPositions(tabs());
        return format;
    }

    // Stops in order of position, as a reader gives them.
    QList<QTextOption::Tab> tabs()
    {
        QList<QTextOption::Tab> tabs;
        int position = 0;
        for (int i = bounded(1, 4); i > 0; --i) {
            position += bounded(1, 3000);
            const auto type = pick({QTextOption::LeftTab, QTextOption::RightTab,
                                    QTextOption::CenterTab, QTextOption::DelimiterTab});
            tabs.append(
                {position / 15.0, type, type == QTextOption::DelimiterTab ? u',' : QChar()});
        }
        return tabs;
    }

    QRandomGenerator m_random;
};

std::unique_ptr<QTextDocument> readBack(const QByteArray &rtf)
{
    rtf::ReadResult result = rtf::read(rtf);
    return std::move(result.document);
}

} // namespace

class TestRtfWriterRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void randomDocuments_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 60; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void randomDocuments()
    {
        QFETCH(quint32, seed);
        const auto document = RandomDocument(seed).build();
        const QByteArray written = rtf::write(*document);
        const auto read = readBack(written);
        QVERIFY(read);
        const QString difference = firstDifference(*document, *read);
        QVERIFY2(difference.isEmpty(),
                 qPrintable(difference + "\n" + QString::fromLatin1(written)));
        // Writing what was read gives the same bytes again.
        QCOMPARE(rtf::write(*read), written);
    }

    void emptyParagraphsAtTheEdges_data()
    {
        QTest::addColumn<QStringList>("paragraphs");
        QTest::newRow("empty document") << QStringList{""};
        QTest::newRow("two empty") << QStringList{"", ""};
        QTest::newRow("empty first") << QStringList{"", "Ж"};
        QTest::newRow("empty last") << QStringList{"Ж", ""};
        QTest::newRow("empty both ends") << QStringList{"", "Ж", ""};
    }
    void emptyParagraphsAtTheEdges()
    {
        QFETCH(QStringList, paragraphs);
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(paragraphs.join(QChar(u'\n')));
        const auto read = readBack(rtf::write(document));
        QVERIFY(read);
        QCOMPARE(read->toPlainText(), document.toPlainText());
        QCOMPARE(read->blockCount(), document.blockCount());
    }

    // What the reader's caps change reads back the same: the breaks it puts
    // into over-long words are not written, and put back alike when read.
    void cappedDocuments_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("a long word") << "{\\rtf1 " + QByteArray(3000, 'x') + "}";
        QTest::newRow("a long word of changing formats")
            << "{\\rtf1 " + QByteArray("{\\b x}{\\i y}").repeated(1500) + "}";
        QTest::newRow("format words that change nothing")
            << "{\\rtf1 " + QByteArray("{\\b x}{\\b y}\\b\\b0 z ").repeated(1500) + "}";
        QTest::newRow("changes of format around spaces")
            << "{\\rtf1 " + QByteArray("{\\b x} {\\i y}z").repeated(1500) + "}";
        QTest::newRow("a long paragraph")
            << "{\\rtf1 " + QByteArray("abcdefgh ").repeated(3000) + "}";
        QTest::newRow("a cut document")
            << "{\\rtf1 " + QByteArray("\\sb31680\\sa31680 x\\par ").repeated(1200) + "}";
    }
    void cappedDocuments()
    {
        QFETCH(QByteArray, rtf);
        const auto first = readBack(rtf);
        const QByteArray written = rtf::write(*first);
        QVERIFY(!written.contains("\\u8203"));
        const auto second = readBack(written);
        QCOMPARE(second->toPlainText(), first->toPlainText());
        QCOMPARE(rtf::write(*second), written);
    }

    // A picture comes back at the size it is shown at, even beyond the goal
    // length limit (2112 px), up to what a scale of 1000 % gives.
    void picture_data()
    {
        QTest::addColumn<QSizeF>("shown");
        QTest::addColumn<QSizeF>("comesBack");
        QTest::newRow("small") << QSizeF(40, 30) << QSizeF(40, 30);
        QTest::newRow("wider than the limit") << QSizeF(3000, 2250) << QSizeF(3000, 2250);
        QTest::newRow("taller than the limit") << QSizeF(20, 2113) << QSizeF(20, 2113);
        QTest::newRow("beyond the largest scale") << QSizeF(30000, 10) << QSizeF(21120, 10);
    }
    void picture()
    {
        QFETCH(QSizeF, shown);
        QFETCH(QSizeF, comesBack);
        QImage image(4, 3, QImage::Format_ARGB32);
        image.fill(QColor(10, 200, 30));
        image.setPixelColor(2, 1, QColor(255, 0, 0, 100));
        QTextDocument document;
        document.addResource(QTextDocument::ImageResource, QUrl("picture"), image);
        QTextCursor cursor(&document);
        cursor.insertText("до ");
        QTextImageFormat format;
        format.setName("picture");
        format.setWidth(shown.width());
        format.setHeight(shown.height());
        cursor.insertImage(format);
        cursor.insertText(" после");

        const QByteArray written = rtf::write(document);
        const auto read = readBack(written);
        QVERIFY(read);
        QCOMPARE(read->toPlainText(), document.toPlainText());
        const QTextCursor found = read->find(QString(QChar::ObjectReplacementCharacter));
        QVERIFY(!found.isNull());
        const QTextImageFormat readFormat = found.charFormat().toImageFormat();
        QVERIFY(readFormat.isValid());
        QCOMPARE(QSizeF(readFormat.width(), readFormat.height()), comesBack);
        const QVariant resource =
            read->resource(QTextDocument::ImageResource, QUrl(readFormat.name()));
        QCOMPARE(resource.value<QImage>().convertToFormat(QImage::Format_ARGB32), image);
        QCOMPARE(rtf::write(*read), written);
    }

    void libreOfficeReadsTheSavedFile()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setForeground(Qt::darkRed);
        cursor.insertText(QStringLiteral("Acanthodes"), bold);
        cursor.insertText(QStringLiteral(" Агассиз, 1833 — девон–пермь {1}\\2"), {});
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Ёлка №5\tαβγ 😀 «ё»"));
        cursor.insertBlock();
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Трилобиты: кембрий"));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString saved = dir.filePath(QStringLiteral("каталог.rtf"));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(rtf::write(document)) > 0);
        file.close();

        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"),
                                "--headless", "--convert-to", "txt:Text (encoded):UTF8", "--outdir",
                                dir.filePath("out"), saved});
        QVERIFY(process.waitForFinished(180'000));
        QCOMPARE(process.exitCode(), 0);

        QFile text(dir.filePath(QStringLiteral("out/каталог.txt")));
        QVERIFY2(text.open(QIODevice::ReadOnly), qPrintable(process.readAllStandardError()));
        QString converted = QString::fromUtf8(text.readAll());
        if (converted.startsWith(QChar(0xfeff)))
            converted.remove(0, 1);
        converted.remove(u'\r');
        if (converted.endsWith(u'\n'))
            converted.chop(1);
        QCOMPARE(converted, document.toPlainText());
    }
};

QTEST_MAIN(TestRtfWriterRoundTrip)
#include "tst_rtfwriter_roundtrip.moc"
