#include "DataPaths.h"
#include "GenusNames.h"
#include "GroupTable.h"
#include "RtfOutline.h"
#include "RtfStream.h"
#include "SampleTree.h"
#include "TimeScale.h"
#include "Truth.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <functional>

using namespace fosdat::data;
using namespace fosdat::sampledata;
namespace strata = fosdat::strata;
using namespace Qt::StringLiterals;

namespace
{

constexpr int ReferenceCount = 1200;

// What a catalogue holds, read back from its RTF, and whatever in it is
// not as a catalogue should be.
struct CatalogueContents {
    QStringList paragraphsBeforeClass; // heading, note, legend
    QStringList classes;               // the class headings' names
    QStringList orders;
    QList<QStringList> families; // per order heading
    QList<QStringList> genera;   // per family or, annotated or noted, per run of one family
    QStringList allGenera;       // also those whose note names no family
    int noted = 0;               // entries that name their order or family before the range
    int synonyms = 0;
    QStringList problems;

    int genusCount() const { return int(allGenera.size()); }
};

class CatalogueInspector
{
public:
    CatalogueContents inspect(const QByteArray &rtf)
    {
        const RtfOutline outline = readRtfOutline(rtf);
        if (!outline.error.isEmpty())
            m_contents.problems.append(outline.error);
        for (const RtfParagraph &paragraph : outline.paragraphs)
            take(paragraph);
        return m_contents;
    }

private:
    void take(const RtfParagraph &paragraph)
    {
        static const QRegularExpression className(
            u"^Класс ([A-Z][a-z]+|[А-ЯЁ][а-яё]+(?: [а-яё]+)* \\([A-Z][a-z]+\\))$"_s);
        static const QRegularExpression order(u"^Отряд ([A-Z][a-z]+ida)$"_s);
        static const QRegularExpression family(u"^Семейство [?]?([A-Z][a-z]+idae)$"_s);
        const QString text = paragraph.text();
        if (paragraph.runs.isEmpty()) {
            problem(u"empty paragraph"_s, text);
        } else if (const auto match = className.match(text); match.hasMatch()) {
            m_contents.classes.append(match.captured(1));
            m_family.clear();
        } else if (m_contents.classes.isEmpty()) {
            m_contents.paragraphsBeforeClass.append(text);
        } else if (const auto match = order.match(text); match.hasMatch()) {
            if (!paragraph.runs.front().bold)
                problem(u"order heading not bold"_s, text);
            m_contents.orders.append(match.captured(1));
            m_contents.families.append(QStringList());
        } else if (const auto match = family.match(text); match.hasMatch()) {
            if (!paragraph.runs.front().bold || m_contents.families.isEmpty())
                problem(u"family heading not bold or before an order"_s, text);
            else
                m_contents.families.back().append(match.captured(1));
            m_contents.genera.append(QStringList());
        } else if (text.startsWith(u"= "_s) && !paragraph.runs.front().bold) {
            ++m_contents.synonyms;
        } else {
            takeGenus(paragraph);
        }
    }

    // "†Name Author, 1900<tab>RANGE<tab>(12, 34) сем. Familyidae remark" (the
    // year also "[1900]" or "1899–1900"; "†Name:<tab>RANGE..." without an
    // author), or
    // "†Name Author, 1900 [отр. Xida, сем. Xidae]: RANGE (12, 34). remark":
    // the name in bold, the range as the truth file tells, the references in
    // order, the remark in italics.
    void takeGenus(const RtfParagraph &paragraph)
    {
        static const QRegularExpression name(u"^[†?]?([A-Z][a-z]+)$"_s);
        // The author and year: "Smith, 1900", "(Smith, 1900)", "Smith, [1900]",
        // "Smith, 1899–1900".
        static const QString author = uR"( [^	]+?, (?:\d{4}(?:–\d{4})?|\[\d{4}\])\)?)"_s;
        static const QRegularExpression asBefore(
            u"^(?:"_s + author +
            uR"(|:)?[\x{1}\x{7}\x{d}]?[	 ](?:.+[	 ])?\((\d+(?:, \d+)*)\)(?: сем\. ([A-Z][a-z]+idae))?( .+)?$)"_s);
        static const QRegularExpression noted(
            u"^(?:"_s + author +
            uR"()?[\x{1}\x{7}\x{d}]? (?:\[(?:отр\. [A-Z][a-z]+ida)?(?:, )?(?:сем\. \??([A-Z][a-z]+idae))?\]:|\(отр\. [A-Z][a-z]+ida; сем\. ([A-Z][a-z]+idae)\)) (?:.+ )?\((\d+(?:, \d+)*)\)\.( .+)?$)"_s);
        const QString text = paragraph.text();
        const RtfRun &first = paragraph.runs.front();
        const auto nameMatch = name.match(first.text);
        const QString rest = text.mid(first.text.size());
        const auto match =
            (rest.contains(u"отр. "_s) || rest.contains(u"[сем. "_s) ? noted : asBefore)
                .match(rest);
        if (!first.bold || !nameMatch.hasMatch() || !match.hasMatch())
            return problem(u"not a genus entry"_s, text);
        const bool isNoted = match.regularExpression() == noted;
        const QString references = match.captured(isNoted ? 3 : 1);
        const QString named = isNoted ? match.captured(1) + match.captured(2) : match.captured(2);
        m_contents.allGenera.append(nameMatch.captured(1));
        m_contents.noted += isNoted ? 1 : 0;
        if (!named.isEmpty() && named != m_family) { // each entry names its family
            m_family = named;
            m_contents.genera.append(QStringList());
        }
        if (!isNoted && m_contents.genera.isEmpty())
            return problem(u"genus before any family"_s, text);
        if (!named.isEmpty() || !isNoted)
            m_contents.genera.back().append(nameMatch.captured(1));
        checkReferences(references, text);
        if (match.hasCaptured(isNoted ? 4 : 3) && !paragraph.runs.back().italic)
            problem(u"remark not in italics"_s, text);
    }

    void checkReferences(const QString &list, const QString &text)
    {
        int previous = 0;
        for (const QString &number : list.split(u", "_s)) {
            const int value = number.toInt();
            if (value <= previous || value > ReferenceCount)
                problem(u"reference numbers out of range or order"_s, text);
            previous = value;
        }
    }

    void problem(const QString &what, const QString &text)
    {
        m_contents.problems.append(what + u": "_s + text);
    }

    CatalogueContents m_contents;
    QString m_family;
};

CatalogueContents inspectCatalogue(const QByteArray &rtf)
{
    return CatalogueInspector().inspect(rtf);
}

// Ways in which the bytes of a catalogue are not as a word processor
// writes them.
QStringList formatProblems(const QByteArray &rtf)
{
    QStringList problems;
    if (!rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl"))
        problems.append(u"wrong start"_s);
    if (!rtf.endsWith("}\r\n"))
        problems.append(u"wrong end"_s);
    const QList<QByteArray> lines = rtf.split('\n');
    for (const QByteArray &line : lines.first(lines.size() - 1)) {
        if (!line.endsWith('\r') || line.chopped(1).contains('\r'))
            problems.append(u"line end other than CR LF"_s);
        if (line.size() - 1 > RtfStream::MaxLineLength)
            problems.append(u"line longer than 255 bytes"_s);
    }
    // Readers drop CR and LF outside control words and escapes, so a file
    // wrapped in the right places reads as it would unwrapped.
    QByteArray unwrapped = rtf;
    unwrapped.replace("\r\n", "");
    if (readRtfOutline(rtf) != readRtfOutline(unwrapped))
        problems.append(u"a line break changes the text"_s);
    return problems;
}

// Whether Windows-1251 holds every character of the text.
bool fitsCodePage(const QString &text)
{
    QStringEncoder encode("windows-1251");
    QStringDecoder decode("windows-1251");
    return decode(encode(text)) == text;
}

// A genus entry as the forms below look at it.
struct Written {
    const GenusEntry &genus;
    bool notes;          // written in the real catalogues' shape
    const QString &text; // its range
    QString period;      // of its first stage
};

// The forms the sample must hold at a known rate, other than a status: ways
// of writing the range or the entry.
const QHash<QString, std::function<bool(const Written &)>> &entryForms()
{
    static const QRegularExpression regional(
        u"\\((Tomm|Atda|Boto|Toyo|Amga|Maya|Aren|Llvi|Llde|Cara|Ashg|Llan|Wenl|Ludl|Ufim|Kaza|Tata|Plei|Holo)\\b"_s);
    static const QRegularExpression qualifier(u"\\b[lmu][-. ][A-Z]|[a-z][- ][lmu]\\b"_s);
    static const QRegularExpression threeParts(
        u"\\) ?[-\u2013\u2014\u2212].*\\) ?[-\u2013\u2014\u2212] ?[A-Z]"_s);
    static const QRegularExpression words(u"^(cf|nom|sensu)\\b|\\b(pars|in part|etc)$"_s);
    static const QRegularExpression coarseEnd(
        u"\\) ?[-\u2013\u2014\u2212] *(?!R)[A-Z][a-z]?$"_s); // not Rec, R
    using W = const Written &;
    static const QHash<QString, std::function<bool(W)>> forms{
        {u"uncertain"_s, [](W w) { return w.genus.range.uncertain; }},
        {u"living"_s, [](W w) { return w.genus.range.extant; }},
        {u"T for the Triassic"_s,
         [](W w) { return w.text.startsWith(u"T ("_s) && w.period == u"Tr"; }},
        {u"T for the Tertiary"_s,
         [](W w) { return w.text.startsWith(u"T ("_s) && w.period == u"Pg"; }},
        {u"Tr"_s, [](W w) { return w.text.startsWith(u"Tr"_s); }},
        {u"regional units"_s, [](W w) { return w.text.contains(regional); }},
        {u"qualifiers"_s, [](W w) { return w.text.contains(qualifier); }},
        {u"doubt after a bracket"_s,
         [](W w) { return w.text.contains(u")?"_s) || w.text.endsWith(u"Rec?"_s); }},
        {u"doubt in parentheses"_s, [](W w) { return w.text.endsWith(u" (?)"_s); }},
        {u"start not known"_s,
         [](W w) {
             return w.text.size() > 1 && w.text[0] == u'?' && !w.text[1].isLetter() &&
                    w.text[1] != u'(';
         }},
        {u"three parts"_s, [](W w) { return w.text.contains(threeParts); }},
        {u"words around a range"_s, [](W w) { return w.text.contains(words); }},
        {u"coarse end"_s, [](W w) { return w.text.contains(coarseEnd); }},
        {u"authors"_s, [](W w) { return !w.genus.author.isEmpty(); }},
        {u"letters outside code page 1251"_s,
         [](W w) { return !fitsCodePage(w.genus.author + w.genus.remark); }},
        {u"control characters"_s, [](W w) { return w.genus.control != 0; }},
        {u"notes before the range"_s, [](W w) { return w.notes; }},
        {u"a family placed with doubt"_s,
         [](W w) { return w.notes && w.genus.note == TaxonNote::DoubtfulFamily; }},
    };
    return forms;
}

// Whether a genus entry is of a form: a status, a way of writing the range
// or the entry, or a dash ("dash ' - '").
bool isOfForm(const QString &form, const GenusEntry &genus, bool notes)
{
    const WrittenRange &range = genus.range;
    const strata::TimeScale &scale = strata::shippedTimeScale();
    const Written written{genus, notes, range.text,
                          range.first < 0 ? QString() : scale.stages()[range.first].period};
    if (const auto is = entryForms().find(form); is != entryForms().end())
        return (*is)(written);
    if (form.startsWith(u"dash"))
        return range.text.contains(form.mid(6).chopped(1));
    return range.status == form;
}

bool isSorted(const QStringList &names)
{
    return std::adjacent_find(names.begin(), names.end(), std::greater_equal<QString>()) ==
           names.end();
}

QString captionWithoutDigits(QStringView caption)
{
    while (caption.back().isDigit())
        caption.chop(1);
    return caption.toString();
}

struct GeneratorRun {
    int exitCode = -1;
    QByteArray errors;
};

GeneratorRun runGenerator(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(FOSDAT_SAMPLEDATA_EXE), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardError()};
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT

    QList<SampleFile> m_tree;
    QList<Catalogue> m_catalogues;

    QByteArray file(const QString &path) const
    {
        for (const SampleFile &file : m_tree) {
            if (file.path == path)
                return file.bytes;
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_tree = sampleTree();
        m_catalogues = sampleCatalogues();
    }

    void treeHoldsEveryFile()
    {
        QStringList expected;
        for (const Group &group : GroupTable)
            expected.append(slashPath(group.catalogPath));
        for (QStringView list : ReferenceListPaths)
            expected.append(slashPath(list));
        expected.append(slashPath(SoundPath));
        expected.append(TruthPath.toString());
        QStringList paths;
        for (const SampleFile &file : m_tree) {
            paths.append(file.path);
            QVERIFY2(!file.bytes.isEmpty(), qPrintable(file.path));
        }
        QCOMPARE(paths, expected);
    }

    void sameBytesOnEveryRun()
    {
        const QList<SampleFile> again = sampleTree();
        QCOMPARE(again.size(), m_tree.size());
        for (qsizetype i = 0; i < again.size(); ++i) {
            QCOMPARE(again[i].path, m_tree[i].path);
            QVERIFY2(again[i].bytes == m_tree[i].bytes, qPrintable(again[i].path));
        }
    }

    void generatorWritesTheTree()
    {
        QTemporaryDir dir;
        // A file of an earlier, different data set is replaced.
        QDir(dir.path()).mkpath(u"dat/BD"_s);
        QFile stale(dir.filePath(slashPath(GroupTable[0].catalogPath)));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("old");
        stale.close();

        const GeneratorRun run = runGenerator({dir.path()});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.errors.isEmpty());
        QStringList written;
        QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            written.append(QDir(dir.path()).relativeFilePath(it.next()));
        QCOMPARE(written.size(), m_tree.size());
        for (const SampleFile &file : m_tree)
            QVERIFY2(readFile(dir.filePath(file.path)) == file.bytes, qPrintable(file.path));
    }

    void generatorReportsWhatItCannotWrite()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(u"dat"_s)); // a file where the folder should go
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const GeneratorRun run = runGenerator({dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.errors.contains("dat"));
    }

    void catalogue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        for (const Group &group : GroupTable) {
            const QString path = slashPath(group.catalogPath);
            QTest::newRow(qPrintable(path)) << path << group.caption.toString();
        }
    }
    void catalogue()
    {
        QFETCH(QString, path);
        QFETCH(QString, caption);
        const QByteArray rtf = file(path);
        const QStringList format = formatProblems(rtf);
        QVERIFY2(format.isEmpty(), qPrintable(format.join(u'\n')));
        const CatalogueContents contents = inspectCatalogue(rtf);
        QVERIFY2(contents.problems.isEmpty(), qPrintable(contents.problems.mid(0, 5).join(u'\n')));

        // Heading, note, legend; the class.
        QCOMPARE(contents.paragraphsBeforeClass.size(), 3);
        QVERIFY(contents.paragraphsBeforeClass[0].startsWith(captionWithoutDigits(caption)));
        QVERIFY(contents.paragraphsBeforeClass[1].contains(QString::number(contents.genusCount())));
        QCOMPARE(contents.classes.size(), 1);
        // Under headings, or every entry naming its order and family.
        QVERIFY(contents.noted == 0 || contents.noted == contents.genusCount());
        QCOMPARE(contents.orders.isEmpty(), contents.noted > 0);
        QVERIFY(isSorted(contents.orders));
        for (const QStringList &families : contents.families)
            QVERIFY2(isSorted(families), qPrintable(families.join(u' ')));
        for (const QStringList &genera : contents.genera) {
            QVERIFY(!genera.isEmpty());
            QVERIFY2(isSorted(genera), qPrintable(genera.join(u' ')));
        }
        QVERIFY2(contents.genusCount() >= 200 && contents.genusCount() <= 3000,
                 qPrintable(QString::number(contents.genusCount())));
    }

    void genusNamesOverTheDataSet()
    {
        QSet<QString> names;
        int total = 0;
        int largest = 0;
        int smallest = INT_MAX;
        for (const Group &group : GroupTable) {
            const CatalogueContents contents = inspectCatalogue(file(slashPath(group.catalogPath)));
            names.unite(QSet<QString>(contents.allGenera.begin(), contents.allGenera.end()));
            total += contents.genusCount();
            largest = std::max(largest, contents.genusCount());
            smallest = std::min(smallest, contents.genusCount());
        }
        QVERIFY2(total >= 35000 && total <= 37000, qPrintable(QString::number(total)));
        QCOMPARE(names.size(), total);
        QVERIFY(largest >= 2500 && largest <= 3000);
        QVERIFY(smallest >= 200 && smallest <= 600);
    }

    void referenceList_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("first");
        QTest::newRow("REFS1") << slashPath(ReferenceListPaths[0]) << 1;
        QTest::newRow("REFS2") << slashPath(ReferenceListPaths[1]) << 401;
        QTest::newRow("REFS3") << slashPath(ReferenceListPaths[2]) << 801;
    }
    void referenceList()
    {
        QFETCH(QString, path);
        QFETCH(int, first);
        const QByteArray bytes = file(path);
        QStringDecoder decode("windows-1251");
        const QString text = decode(bytes);
        QVERIFY(!decode.hasError());
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
        QVERIFY(text.endsWith(u"\r\n"_s));
        const QStringList lines = text.chopped(2).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 400);
        static const QRegularExpression reference(uR"(^(\d+)\. \S.* (1[89]\d\d)\. \S.+\.$)"_s);
        static const QRegularExpression cyrillic(u"[А-Яа-я]"_s);
        int russian = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const QString &line = lines[i];
            QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));
            const auto match = reference.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            QCOMPARE(match.captured(1).toInt(), first + i);
            russian += line.contains(cyrillic) ? 1 : 0;
        }
        QVERIFY(russian > 100 && russian < 300); // both kinds of reference
    }

    void clickSound()
    {
        const QByteArray wave = file(slashPath(SoundPath));
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wave.constData() + at); };
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wave.constData() + at); };
        QVERIFY(wave.size() > 44);
        QCOMPARE(wave.first(4), QByteArray("RIFF"));
        QCOMPARE(u32(4), quint32(wave.size() - 8));
        QCOMPARE(wave.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(u32(16), 16u);     // PCM format chunk
        QCOMPARE(int(u16(20)), 1);  // PCM
        QCOMPARE(int(u16(22)), 1);  // mono
        QCOMPARE(u32(24), 22050u);  // sample rate
        QCOMPARE(u32(28), 44100u);  // bytes per second
        QCOMPARE(int(u16(32)), 2);  // bytes per frame
        QCOMPARE(int(u16(34)), 16); // bits per sample
        QCOMPARE(wave.mid(36, 4), QByteArray("data"));
        QCOMPARE(u32(40), quint32(wave.size() - 44));

        const int samples = (wave.size() - 44) / 2;
        const double milliseconds = samples * 1000.0 / 22050;
        QVERIFY(milliseconds >= 30 && milliseconds <= 60);
        const auto peak = [&](int from, int to) {
            int most = 0;
            for (int i = from; i < to; ++i)
                most = std::max(most, std::abs(int(qint16(u16(44 + 2 * i)))));
            return most;
        };
        QVERIFY(peak(0, samples / 10) > 10000);                // audible
        QVERIFY(peak(samples - samples / 10, samples) < 1000); // decayed
    }

    // The forms of range a reader must cope with, each at a known share of
    // the data set's genera.
    void rangeFormsAtKnownRates_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<double>("least"); // percent of all genera
        QTest::addColumn<double>("most");
        const auto row = [](const QString &form, double least, double most) {
            QTest::newRow(qPrintable(form)) << form << least << most;
        };
        row(u"counted"_s, 92, 97);
        row(u"uncertain"_s, 4, 8);
        row(u"living"_s, 1, 15);
        row(u"period-only"_s, 1.5, 4);
        row(u"unreadable"_s, 0.5, 2);
        for (const char *reason :
             {"no-range", "unknown-period", "unknown-stage", "stage-outside-period",
              "ambiguous-period", "unknown-part", "reversed"})
            row(QString::fromLatin1(reason), 0.02, 1);
        row(u"T for the Triassic"_s, 0.1, 20);
        row(u"T for the Tertiary"_s, 0.5, 20);
        row(u"Tr"_s, 0.5, 20);
        row(u"regional units"_s, 5, 50);
        row(u"qualifiers"_s, 1, 10);
        for (const char *dash :
             {" - ", ")-", " \u2013 ", ")\u2013", " \u2014 ", " \u2212 ", "  -  "})
            row(u"dash '%1'"_s.arg(QString::fromUtf8(dash)), 0.1, 80);
        row(u"doubt after a bracket"_s, 0.5, 3);
        row(u"doubt in parentheses"_s, 0.5, 3);
        row(u"start not known"_s, 0.05, 0.5);
        row(u"three parts"_s, 0.1, 0.6);
        row(u"words around a range"_s, 0.2, 1);
        row(u"coarse end"_s, 0.2, 1);
        row(u"authors"_s, 60, 80);
        row(u"letters outside code page 1251"_s, 10, 16); // about one entry in eight
        row(u"control characters"_s, 0.5, 2);
        row(u"notes before the range"_s, 15, 60);
        row(u"a family placed with doubt"_s, 1, 10);
    }
    void rangeFormsAtKnownRates()
    {
        QFETCH(QString, form);
        QFETCH(double, least);
        QFETCH(double, most);
        int total = 0;
        int matching = 0;
        for (const Catalogue &catalogue : m_catalogues) {
            for (qsizetype f = 0; f < catalogue.families.size(); ++f) {
                for (const GenusEntry &genus : catalogue.families[f].genera) {
                    ++total;
                    matching += isOfForm(form, genus, catalogue.hasNotes(f)) ? 1 : 0;
                }
            }
        }
        const double share = 100.0 * matching / total;
        QVERIFY2(share >= least && share <= most, qPrintable(QString::number(share)));
    }

    void rtfStream_data()
    {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << QByteArray() << u"Abc (12)"_s << QByteArray("Abc (12)");
        QTest::newRow("special characters")
            << QByteArray() << u"a{b}\\"_s << QByteArray("a\\{b\\}\\\\");
        QTest::newRow("Cyrillic") << QByteArray() << u"Ая Ёё"_s
                                  << QByteArray("\\'c0\\'ff \\'a8\\'b8");
        QTest::newRow("dash with fallback")
            << QByteArray() << u"\u2014"_s << QByteArray("\\u8212\\'97");
        QTest::newRow("outside the code page")
            << QByteArray() << u"\u03b1\u20ac"_s << QByteArray("\\u945?\\'88");
        QTest::newRow("far outside the code page")
            << QByteArray() << u"\uffe8"_s << QByteArray("\\u-24?");
        QTest::newRow("letter after a control word")
            << QByteArray("b") << u"Abc"_s << QByteArray("\\b Abc");
        QTest::newRow("digit after a control word")
            << QByteArray("fs20") << u"1"_s << QByteArray("\\fs20 1");
        QTest::newRow("hyphen after a control word")
            << QByteArray("b") << u"-1"_s << QByteArray("\\b -1");
        QTest::newRow("blank after a control word")
            << QByteArray("tab") << u" x"_s << QByteArray("\\tab  x");
        QTest::newRow("semicolon after a control word")
            << QByteArray("blue0") << u";"_s << QByteArray("\\blue0;");
        QTest::newRow("escape after a control word")
            << QByteArray("b") << u"Я"_s << QByteArray("\\b\\'df");
    }
    void rtfStream()
    {
        QFETCH(QByteArray, control);
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        RtfStream rtf;
        if (!control.isEmpty())
            rtf.control(control);
        rtf.text(text);
        QCOMPARE(rtf.take(), expected);
    }

    void rtfStreamWrapsLongLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("words") << u"Abc defgh, ij (123). "_s.repeated(60);
        QTest::newRow("one long word") << u"x"_s.repeated(1000);
        QTest::newRow("Cyrillic words") << u"Семейство родов \u2014 "_s.repeated(60);
        QTest::newRow("Cyrillic without blanks") << u"Ж\u2014"_s.repeated(300);
    }
    void rtfStreamWrapsLongLines()
    {
        QFETCH(QString, text);
        RtfStream rtf;
        rtf.openGroup();
        rtf.controls({"rtf1", "ansi", "ansicpg1251", "deff0", "deflang1049"});
        rtf.openGroup();
        rtf.control("fonttbl");
        rtf.closeGroup();
        for (int i = 0; i < 3; ++i) {
            rtf.control("b");
            rtf.text(text);
            rtf.control("b0");
            rtf.control("tab");
            rtf.text(text);
        }
        rtf.control("par");
        rtf.closeGroup();
        rtf.lineBreak();
        const QByteArray bytes = rtf.take();
        const QStringList problems = formatProblems(bytes);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        const RtfOutline outline = readRtfOutline(bytes);
        QCOMPARE(outline.paragraphs.size(), 1);
        QCOMPARE(outline.paragraphs[0].text(), (text + u'\t' + text).repeated(3));
    }

    void familyName_data()
    {
        QTest::addColumn<QString>("genus");
        QTest::addColumn<QString>("family");
        QTest::newRow("-ceras") << u"Acanthoceras"_s << u"Acanthoceratidae"_s;
        QTest::newRow("-aspis") << u"Xenaspis"_s << u"Xenaspididae"_s;
        QTest::newRow("-odus") << u"Brachyodus"_s << u"Brachyodontidae"_s;
        QTest::newRow("-ops") << u"Cyclops"_s << u"Cyclopidae"_s;
        QTest::newRow("-ella") << u"Spirella"_s << u"Spirellidae"_s;
        QTest::newRow("-um") << u"Hyalophyllum"_s << u"Hyalophyllidae"_s;
        QTest::newRow("-ex") << u"Acanthoscolex"_s << u"Acanthoscolecidae"_s;
        QTest::newRow("-ys") << u"Macrochelys"_s << u"Macrochelyidae"_s;
        QTest::newRow("-er") << u"Neospirifer"_s << u"Neospiriferidae"_s;
        QTest::newRow("-cythere") << u"Tetracythere"_s << u"Tetracytheridae"_s;
    }
    void familyName()
    {
        QFETCH(QString, genus);
        QFETCH(QString, family);
        QCOMPARE(fosdat::sampledata::familyName(genus), family);
    }

    void scaleOption_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("genera");
        QTest::newRow("500 genera") << QStringList{u"--scale"_s, u"500"_s} << 0 << 500;
        QTest::newRow("one genus") << QStringList{u"--scale"_s, u"1"_s} << 0 << 1;
        QTest::newRow("none") << QStringList{u"--scale"_s, u"0"_s} << 1 << 0;
        QTest::newRow("not a number") << QStringList{u"--scale"_s, u"many"_s} << 1 << 0;
        QTest::newRow("too many") << QStringList{u"--scale"_s, u"1000001"_s} << 1 << 0;
    }
    void scaleOption()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(int, genera);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"BIG"_s);
        const GeneratorRun run = runGenerator(arguments << path);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(QFile::exists(path), genera > 0);
        if (genera == 0)
            return;
        const QByteArray rtf = readFile(path);
        QVERIFY(formatProblems(rtf).isEmpty());
        const CatalogueContents contents = inspectCatalogue(rtf);
        QVERIFY(contents.problems.isEmpty());
        QCOMPARE(contents.genusCount(), genera);
        QCOMPARE(scaledCatalogue(genera), rtf);
    }

    void missingTargetShowsUsage()
    {
        const GeneratorRun run = runGenerator({});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.errors.contains("--scale"));
    }

    void scaledCatalogueTenTimesTheLargest()
    {
        const int genera = 28000;
        const CatalogueContents contents = inspectCatalogue(scaledCatalogue(genera));
        QVERIFY(contents.problems.isEmpty());
        QCOMPARE(contents.genusCount(), genera);
        QCOMPARE(QSet<QString>(contents.allGenera.begin(), contents.allGenera.end()).size(),
                 genera);
        // Both shapes: headings first, then a class heading of the real shape.
        QCOMPARE(contents.classes.size(), 2);
        QVERIFY(!contents.orders.isEmpty());
        QVERIFY(contents.noted > genera / 3 && contents.noted < genera * 2 / 3);
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
