#include "DataPaths.h"
#include "GenusNames.h"
#include "GroupTable.h"
#include "RtfOutline.h"
#include "RtfStream.h"
#include "SampleTree.h"
#include "Stratigraphy.h"

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
using namespace Qt::StringLiterals;

namespace
{

constexpr int ReferenceCount = 1200;

// What a catalogue holds, read back from its RTF, and whatever in it is
// not as a catalogue should be.
struct CatalogueContents {
    QStringList paragraphsBeforeFamilies;
    QStringList families;
    QList<QStringList> genera; // per family, in file order
    QStringList problems;

    int genusCount() const
    {
        int count = 0;
        for (const QStringList &family : genera)
            count += int(family.size());
        return count;
    }
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
        static const QRegularExpression family(u"^Семейство ([A-Z][a-z]+idae)$"_s);
        const QString text = paragraph.text();
        if (paragraph.runs.isEmpty()) {
            problem(u"empty paragraph"_s, text);
        } else if (const auto match = family.match(text); match.hasMatch()) {
            if (!paragraph.runs.front().bold)
                problem(u"family heading not bold"_s, text);
            m_contents.families.append(match.captured(1));
            m_contents.genera.append(QStringList());
        } else if (m_contents.families.isEmpty()) {
            m_contents.paragraphsBeforeFamilies.append(text);
        } else {
            takeGenus(paragraph);
        }
    }

    void takeGenus(const RtfParagraph &paragraph)
    {
        static const QRegularExpression name(u"^[A-Z][a-z]+$"_s);
        static const QRegularExpression rest(
            uR"(^[\t ](\w+) \((\w+)\)(?: - (\w+) \((\w+)\))?[\t ]\((\d+(?:, \d+)*)\)( .+)?$)"_s);
        const QString text = paragraph.text();
        const RtfRun &first = paragraph.runs.front();
        const auto match = rest.match(text.mid(first.text.size()));
        if (!first.bold || !name.match(first.text).hasMatch() || !match.hasMatch())
            return problem(u"not a genus entry"_s, text);
        m_contents.genera.back().append(first.text);
        checkRange(match, text);
        checkReferences(match.captured(5), text);
        if (match.hasCaptured(6) && !paragraph.runs.back().italic)
            problem(u"remark not in italics"_s, text);
    }

    void checkRange(const QRegularExpressionMatch &match, const QString &text)
    {
        const auto first = stratigraphy::indexOf(match.captured(1), match.captured(2));
        const auto last = match.hasCaptured(3)
                              ? stratigraphy::indexOf(match.captured(3), match.captured(4))
                              : first;
        if (!first || !last)
            problem(u"unknown stage"_s, text);
        else if (*last <= *first && match.hasCaptured(3))
            problem(u"range ends before it starts or names one stage twice"_s, text);
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

    QByteArray file(const QString &path) const
    {
        for (const SampleFile &file : m_tree) {
            if (file.path == path)
                return file.bytes;
        }
        return {};
    }

private slots:
    void initTestCase() { m_tree = sampleTree(); }

    void treeHoldsEveryFile()
    {
        QStringList expected;
        for (const Group &group : GroupTable)
            expected.append(slashPath(group.catalogPath));
        for (QStringView list : ReferenceListPaths)
            expected.append(slashPath(list));
        expected.append(slashPath(SoundPath));
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

        QCOMPARE(contents.paragraphsBeforeFamilies.size(), 2); // heading, note
        QVERIFY(contents.paragraphsBeforeFamilies[0].startsWith(captionWithoutDigits(caption)));
        QVERIFY(
            contents.paragraphsBeforeFamilies[1].contains(QString::number(contents.genusCount())));
        QVERIFY(isSorted(contents.families));
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
            for (const QStringList &genera : contents.genera)
                names.unite(QSet<QString>(genera.begin(), genera.end()));
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

    void stageOrder_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("later");
        QTest::newRow("Campanian, Maastrichtian") << u"K Camp"_s << u"K Maas"_s;
        QTest::newRow("Tremadoc, Wenlock") << u"O Trem"_s << u"S Wenl"_s;
        QTest::newRow("Cambrian, Ordovician") << u"Cm Fran"_s << u"O Trem"_s;
        QTest::newRow("Permian, Triassic") << u"P Tata"_s << u"T Indu"_s;
        QTest::newRow("Jurassic, Cretaceous") << u"J Tith"_s << u"K Berr"_s;
        QTest::newRow("Paleogene, Neogene") << u"Pg Chat"_s << u"N Aqui"_s;
        QTest::newRow("Neogene, Quaternary") << u"N Piac"_s << u"Q Plei"_s;
    }
    void stageOrder()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, later);
        const auto index = [](const QString &label) {
            const QStringList parts = label.split(u' ');
            return stratigraphy::indexOf(parts[0], parts[1]);
        };
        QVERIFY(index(earlier).has_value());
        QVERIFY(index(later).has_value());
        QVERIFY(*index(earlier) < *index(later));
    }

    void periodsInTimeOrder()
    {
        const QStringList periods{u"Cm"_s, u"O"_s, u"S"_s, u"D"_s,  u"C"_s, u"P"_s,
                                  u"T"_s,  u"J"_s, u"K"_s, u"Pg"_s, u"N"_s, u"Q"_s};
        QStringList seen;
        for (int i = 0; i < stratigraphy::stageCount(); ++i) {
            const QString period = stratigraphy::stage(i).period.toString();
            if (seen.isEmpty() || seen.back() != period)
                seen.append(period);
        }
        QCOMPARE(seen, periods); // each period once, its stages together
        QVERIFY(!stratigraphy::indexOf(u"K", u"Trem"));
        const StageRange cretaceous = stratigraphy::periodSpan(u"K", u"K");
        QCOMPARE(stratigraphy::format(cretaceous), u"K (Berr) - K (Maas)"_s);
        QCOMPARE(stratigraphy::format({cretaceous.last, cretaceous.last}), u"K (Maas)"_s);
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
        QSet<QString> names;
        for (const QStringList &family : contents.genera)
            names.unite(QSet<QString>(family.begin(), family.end()));
        QCOMPARE(names.size(), genera);
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
