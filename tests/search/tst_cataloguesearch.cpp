// The search over every catalogue, on real files: what it matches, in what
// order, what it counts, which files the model reads again after they changed
// on disk, and what it holds of them within its budget.
#include "CatalogueSearch.h"
#include "CatalogueTexts.h"
#include "GroupTable.h"
#include "support/CatalogueEdits.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace fosdat;
using namespace fosdat::data;

namespace
{

constexpr int MatchCase = QTextDocument::FindCaseSensitively;
constexpr int WholeWord = QTextDocument::FindWholeWords;

QString fileName(const Group &group)
{
    return group.catalogPath.toString().section(u'\\', -1);
}

struct Outcome {
    // "CAPTION paragraph offset: line", in the order the window lists them:
    // each rank after the one before, each batch after those of its rank.
    QStringList rows;
    // "MATCHES in GROUPS", then "; in CAPTION: FILTERED", "; unread: CAPTIONS",
    // "; cut: CAPTION (CHARACTERS LEFT OUT)..."
    QString count;
};

QString countOf(const SearchCount &count)
{
    if (count.stage == SearchCount::Stage::Idle)
        return QStringLiteral("idle");
    QString text = QStringLiteral("%1 in %2").arg(count.matches).arg(count.groups);
    if (!count.filter.isEmpty())
        text += QStringLiteral("; in %1: %2").arg(count.filter).arg(count.filtered);
    if (!count.unread.isEmpty())
        text += QStringLiteral("; unread: ") + count.unread.join(QStringLiteral(", "));
    for (const SearchCount::Cut &cut : count.cut)
        text += QStringLiteral("; cut: %1 (%2)").arg(cut.caption).arg(cut.leftOut);
    return text;
}

Outcome search(CatalogueSearch &search, const SearchQuery &query)
{
    Outcome outcome;
    std::array<QStringList, MatchRankCount> ranks;
    QObject context;
    QObject::connect(&search, &CatalogueSearch::resultsReset, &context, [&] {
        outcome = Outcome();
        ranks = {};
    });
    QObject::connect(&search, &CatalogueSearch::resultsFound, &context,
                     [&](const SearchResults &batch) {
                         for (const SearchMatch &match : batch.matches)
                             ranks[size_t(batch.rank)] << QStringLiteral("%1 %2 %3: %4")
                                                              .arg(batch.caption)
                                                              .arg(match.paragraph)
                                                              .arg(match.offset)
                                                              .arg(match.line);
                     });
    QObject::connect(&search, &CatalogueSearch::countChanged, &context,
                     [&](const SearchCount &count) { outcome.count = countOf(count); });
    QSignalSpy finished(&search, &CatalogueSearch::searchFinished);
    search.search(query);
    if (finished.isEmpty() && !finished.wait(10'000))
        qWarning("the search did not finish");
    for (const QStringList &rows : ranks)
        outcome.rows << rows;
    return outcome;
}

Outcome search(CatalogueSearch &catalogues, const QString &text, int flags)
{
    return search(catalogues, SearchQuery{text, QTextDocument::FindFlags(flags)});
}

// Every group's catalogue holds "<FILE NAME> catalogue" unless `files` say otherwise.
void writeDataSet(const DataTree &tree, const QStringList &files)
{
    for (const Group &group : GroupTable)
        QVERIFY(tree.writeCatalogue(fileName(group), fileName(group).toLatin1() + " catalogue"));
    for (const QString &file : files)
        QVERIFY(editCatalogue(tree, file));
}

} // namespace

class TestCatalogueSearch : public QObject
{
    Q_OBJECT

private slots:
    // Ranked by the genus of the match's line, listed for one group, and the
    // lines citing a reference number.
    void rankedFilteredAndCiting_data();
    void rankedFilteredAndCiting();

    void search_data()
    {
        QTest::addColumn<QStringList>("files");   // written before the first search
        QTest::addColumn<QStringList>("edits");   // made after it
        QTest::addColumn<int>("reread");          // files the model then reads again
        QTest::addColumn<QString>("typedBefore"); // a search that the one checked replaces
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("budget"); // characters; 0: the model's own

        const QStringList abc{"FORAM=Abcdia K\\par Zeta abcdia-like", "SPONGE=ABCDIA x",
                              "RAD=rad abcdiax"};
        QTest::newRow("case ignored, groups in table order, text order within")
            << abc << QStringList() << 0 << ""
            << "abcdia" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Abcdia K", "ФОРАМИНИФЕРЫ 1 5: Zeta abcdia-like",
                           "РАДИОЛЯРИИ 0 4: rad abcdiax", "ГУБКИ 0 0: ABCDIA x"}
            << "4 in 3" << 0;
        QTest::newRow("match case")
            << abc << QStringList() << 0 << ""
            << "abcdia" << MatchCase
            << QStringList{"ФОРАМИНИФЕРЫ 1 5: Zeta abcdia-like", "РАДИОЛЯРИИ 0 4: rad abcdiax"}
            << "2 in 2" << 0;
        QTest::newRow("whole word; a hyphen ends a word")
            << abc << QStringList() << 0 << ""
            << "abcdia" << WholeWord
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Abcdia K", "ФОРАМИНИФЕРЫ 1 5: Zeta abcdia-like",
                           "ГУБКИ 0 0: ABCDIA x"}
            << "3 in 2" << 0;
        QTest::newRow("one group")
            << abc << QStringList() << 0 << ""
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like"} << "1 in 1" << 0;
        QStringList everyGroup;
        for (const Group &group : GroupTable) {
            everyGroup << QStringLiteral("%1 0 %2: %3 catalogue")
                              .arg(group.caption)
                              .arg(fileName(group).size() + 1)
                              .arg(fileName(group));
        }
        QTest::newRow("every group") << QStringList() << QStringList() << 0 << ""
                                     << "catalogue" << WholeWord << everyGroup << "34 in 34" << 0;
        QTest::newRow("no match") << abc << QStringList() << 0 << ""
                                  << "Zygodia" << 0 << QStringList() << "0 in 0" << 0;
        QTest::newRow("empty text finds nothing and says nothing")
            << abc << QStringList() << 0 << ""
            << "" << 0 << QStringList() << "idle" << 0;
        QTest::newRow("a stale search is cancelled")
            << abc << QStringList() << 0 << "a"
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like"} << "1 in 1" << 0;
        QTest::newRow("Cyrillic, capitals typed")
            << QStringList{"FORAM=\\'c0\\'e1\\'e2\\'e3 \\'e0\\'e1\\'e2\\'e3"} << QStringList() << 0
            << ""
            << "АБВГ" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Абвг абвг", "ФОРАМИНИФЕРЫ 0 5: Абвг абвг"} << "2 in 1"
            << 0;
        QTest::newRow("each match searched for from the end of the one before")
            << QStringList{"FORAM=aaaaa"} << QStringList() << 0 << ""
            << "aa" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 0: aaaaa", "ФОРАМИНИФЕРЫ 0 2: aaaaa"}
            << "2 in 1" << 0;
        QTest::newRow("a picture is left out of the offset")
            << QStringList{"FORAM=x <pict> Abcdia"} << QStringList() << 0 << ""
            << "abcdia" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 3: x  Abcdia"} << "1 in 1" << 0;
        QTest::newRow("a non-breaking space is read as a space")
            << QStringList{"FORAM=Bolivina\\~nova"} << QStringList() << 0 << ""
            << "Bolivina nova" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 0: Bolivina nova"} << "1 in 1"
            << 0;
        QTest::newRow("a missing file is named")
            << QStringList{"OSTRA2-"} << QStringList() << 0 << ""
            << "OSTRA" << 0 << QStringList{"ОСТРАКОДЫ 0 0: OSTRA catalogue"}
            << "1 in 1; unread: ОСТРАКОДЫ2" << 0;
        QTest::newRow("files that are not RTF are named")
            << QStringList{"OSTRA2=!OSTRA2 text", "VERT=!"} << QStringList() << 0 << ""
            << "Zygodia" << 0 << QStringList() << "0 in 0; unread: ОСТРАКОДЫ2, ПОЗВОНОЧНЫЕ" << 0;

        QTest::newRow("authors with letters outside the Windows code page, signs")
            << QStringList{"FORAM=M\\u252?ller, 1975 \\u215? 2\\par \\u268?ech M\\u220?LLER"}
            << QStringList() << 0 << ""
            << "müller" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Müller, 1975 × 2", "ФОРАМИНИФЕРЫ 1 5: Čech MÜLLER"}
            << "2 in 1" << 0;
        QTest::newRow("zero-width spaces, the file's and the reader's, are not seen")
            << QStringList{"FORAM=Bolivi\\zwbo nella " + QString(250, u'a') + "Zetabcd"}
            << QStringList() << 0 << ""
            << "zetabcd" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 0 262: Bolivinella " + QString(250, u'a') + "Zetabcd"}
            << "1 in 1" << 0;

        // The last group's catalogue has three paragraphs; the budget leaves
        // it room for two, or for the start of one.
        const QStringList threeZetas{"VERT3=Zeta one\\par Zeta two\\par Zeta three"};
        int others = 0;
        for (const Group &group : GroupTable)
            others += int(fileName(group).size() + QStringLiteral(" catalogue").size());
        others -= int(QStringLiteral("VERT3 catalogue").size());
        QTest::newRow("held up to its last whole paragraph within the budget, and named")
            << threeZetas << QStringList() << 0 << ""
            << "Zeta" << 0
            << QStringList{"ПОЗВОНОЧНЫЕ3 0 0: Zeta one", "ПОЗВОНОЧНЫЕ3 1 0: Zeta two"}
            << "2 in 1; cut: ПОЗВОНОЧНЫЕ3 (11)" << others + 19;
        QTest::newRow("a paragraph longer than the room is held up to it")
            << threeZetas << QStringList() << 0 << ""
            << "Zeta" << 0 << QStringList{"ПОЗВОНОЧНЫЕ3 0 0: Zeta "}
            << "1 in 1; cut: ПОЗВОНОЧНЫЕ3 (23)" << others + 5;
        QTest::newRow("held whole once another file makes room")
            << threeZetas << QStringList{"FORAM=x"} << 2 << ""
            << "Zeta" << 0
            << QStringList{"ПОЗВОНОЧНЫЕ3 0 0: Zeta one", "ПОЗВОНОЧНЫЕ3 1 0: Zeta two",
                           "ПОЗВОНОЧНЫЕ3 2 0: Zeta three"}
            << "3 in 1" << others + 19;

        QTest::newRow("unchanged files are not read again")
            << abc << QStringList() << 0 << ""
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like"} << "1 in 1" << 0;
        QTest::newRow("a changed file is read again")
            << abc << QStringList{"SPONGE=Zeta grown\\par Zeta"} << 1 << ""
            << "Zeta" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like", "ГУБКИ 0 0: Zeta grown",
                           "ГУБКИ 1 0: Zeta"}
            << "3 in 2" << 0;
        QTest::newRow("same size and modification time, yet rewritten")
            << abc << QStringList{"SPONGE~Zetaia x"} << 1 << ""
            << "Zeta" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like", "ГУБКИ 0 0: Zetaia x"} << "2 in 2"
            << 0;
        QTest::newRow("a file removed after it was read")
            << abc << QStringList{"FORAM-"} << 1 << ""
            << "Zeta" << 0 << QStringList() << "0 in 0; unread: ФОРАМИНИФЕРЫ" << 0;
        QTest::newRow("a missing file that comes back")
            << QStringList{"FORAM-"} << QStringList{"FORAM=Zeta back"} << 1 << ""
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 0: Zeta back"} << "1 in 1" << 0;
    }
    void search()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, edits);
        QFETCH(int, reread);
        QFETCH(QString, typedBefore);
        QFETCH(QString, text);
        QFETCH(int, flags);
        QFETCH(QStringList, rows);
        QFETCH(QString, count);
        QFETCH(int, budget);

        DataTree tree;
        writeDataSet(tree, files);

        const qsizetype characters =
            budget > 0 ? budget : catalogue::CatalogueReader::DefaultBudget;
        CatalogueSearch catalogues(nullptr, characters);
        catalogues.setRanked(false); // in the order of the texts: rankedFilteredAndCiting ranks
        catalogue::CatalogueReader reader(characters);
        const catalogue::CataloguesPtr before = reader.refresh(QDir::currentPath());
        ::search(catalogues, text, flags);
        for (const QString &edit : std::as_const(edits))
            QVERIFY(editCatalogue(tree, edit));
        // A file read again, and only that, has a text of a new generation.
        const catalogue::CataloguesPtr after = reader.refresh(QDir::currentPath());
        int changed = 0;
        for (int group = 0; group < catalogue::GroupCount; ++group)
            changed += after->at(group).generation != before->at(group).generation;
        QCOMPARE(changed, reread);
        QCOMPARE(after->generation() > before->generation(), reread > 0);

        if (!typedBefore.isEmpty())
            catalogues.search(typedBefore, {});
        const Outcome outcome = ::search(catalogues, text, flags);
        QCOMPARE(outcome.rows, rows);
        QCOMPARE(outcome.count, count);
    }
};

void TestCatalogueSearch::rankedFilteredAndCiting_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("cited"); // 0: a text search
    QTest::addColumn<int>("group"); // listed; -1: all
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("count");

    const QStringList meso{"FORAM=Eveimesocrinus K\\par Mesocrinusella J",
                           "RAD=Mesocrinus K (Camp) (4)\\par x Mesocrinus", "SPONGE=Mesocrinus J"};
    QTest::newRow("the whole name, then its start, then elsewhere; group order in each")
        << meso << "mesocrinus" << 0 << 0 << -1
        << QStringList{"РАДИОЛЯРИИ 0 0: Mesocrinus K (Camp) (4)", "ГУБКИ 0 0: Mesocrinus J",
                       "ФОРАМИНИФЕРЫ 1 0: Mesocrinusella J", "ФОРАМИНИФЕРЫ 0 4: Eveimesocrinus K",
                       "РАДИОЛЯРИИ 1 2: x Mesocrinus"}
        << "5 in 3";
    QTest::newRow("whole words: no name only starts with it")
        << meso << "mesocrinus" << WholeWord << 0 << -1
        << QStringList{"РАДИОЛЯРИИ 0 0: Mesocrinus K (Camp) (4)", "ГУБКИ 0 0: Mesocrinus J",
                       "РАДИОЛЯРИИ 1 2: x Mesocrinus"}
        << "3 in 2";
    QTest::newRow("a mark before the name; names of families and headings are none")
        << QStringList{"FORAM=Family Ausidae\\par \\u8224?Aus K (Camp)\\par Ausidae\\par Aus"}
        << "aus" << 0 << 0 << -1
        << QStringList{"ФОРАМИНИФЕРЫ 1 1: †Aus K (Camp)", "ФОРАМИНИФЕРЫ 3 0: Aus",
                       "ФОРАМИНИФЕРЫ 0 7: Family Ausidae", "ФОРАМИНИФЕРЫ 2 0: Ausidae"}
        << "4 in 1";
    QTest::newRow("one group listed, all counted")
        << meso << "mesocrinus" << 0 << 0 << 2
        << QStringList{"РАДИОЛЯРИИ 0 0: Mesocrinus K (Camp) (4)", "РАДИОЛЯРИИ 1 2: x Mesocrinus"}
        << "5 in 3; in РАДИОЛЯРИИ: 2";

    const QStringList citing{"FORAM=Aus K (45)\\par Bus Smith, 1945 (12)\\par Cus (45-47) K"
                             "\\par Dus (12, 45; 1020) (45)\\par Eus (045) 45\\par Fus (Smith, 45)"
                             "\\par Gus (45, 1975)\\par Hus (4, 145, 450)",
                             "SPONGE=Ius J (45 46)"};
    QTest::newRow("citing: reference numbers only, not years, pages or other numbers")
        << citing << "" << 0 << 45 << -1
        << QStringList{"ФОРАМИНИФЕРЫ 0 7: Aus K (45)", "ФОРАМИНИФЕРЫ 3 9: Dus (12, 45; 1020) (45)",
                       "ФОРАМИНИФЕРЫ 3 20: Dus (12, 45; 1020) (45)", "ГУБКИ 0 7: Ius J (45 46)"}
        << "4 in 2";
    QTest::newRow("citing in one group")
        << citing << "" << 0 << 45 << 3 << QStringList{"ГУБКИ 0 7: Ius J (45 46)"}
        << "4 in 2; in ГУБКИ: 1";
}

void TestCatalogueSearch::rankedFilteredAndCiting()
{
    QFETCH(QStringList, files);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(int, cited);
    QFETCH(int, group);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    DataTree tree;
    writeDataSet(tree, files);
    CatalogueSearch catalogues;
    const Outcome outcome =
        ::search(catalogues, SearchQuery{text, QTextDocument::FindFlags(flags), cited, group});
    QCOMPARE(outcome.rows, rows);
    QCOMPARE(outcome.count, count);
}

QTEST_GUILESS_MAIN(TestCatalogueSearch)
#include "tst_cataloguesearch.moc"
