// The search over every catalogue, on real files: what it matches, in what
// order, what the count line says, and which files it reads again after they
// changed on disk.
#include "CatalogueIndex.h"
#include "CatalogueSearch.h"
#include "GroupTable.h"
#include "support/DataTree.h"
#include "support/RtfPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace fosdat::data;

namespace
{

constexpr int MatchCase = QTextDocument::FindCaseSensitively;
constexpr int WholeWord = QTextDocument::FindWholeWords;

QString fileName(const Group &group)
{
    return group.catalogPath.toString().section(u'\\', -1);
}

// "NAME=text": a catalogue of that RTF body; "NAME=!bytes": a file that is
// not RTF; "NAME-": the file removed; "NAME~text": rewritten to the same
// size with its modification time kept.
void apply(const DataTree &tree, const QString &edit)
{
    const qsizetype sign = edit.indexOf(QRegularExpression(QStringLiteral("[=~-]")));
    const QString path = QStringLiteral("dat/BD/") + edit.left(sign);
    const QByteArray body = edit.mid(sign + 1).toLatin1().replace("<pict>", rtfPicture());
    switch (edit.at(sign).unicode()) {
    case u'-':
        QVERIFY(tree.remove(path));
        return;
    case u'~': {
        const QDateTime modified = QFileInfo(tree.path(path)).lastModified();
        QVERIFY(tree.write(path, DataTree::catalogue(body)));
        QFile file(tree.path(path));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        return;
    }
    default:
        QVERIFY(tree.write(path, body.startsWith('!') ? body.mid(1) : DataTree::catalogue(body)));
    }
}

struct Outcome {
    QStringList rows; // "CAPTION paragraph offset: line"
    QString countLine;
};

Outcome search(CatalogueSearch &search, const QString &text, int flags)
{
    Outcome outcome;
    QObject context;
    QObject::connect(&search, &CatalogueSearch::resultsReset, &context,
                     [&] { outcome = Outcome(); });
    QObject::connect(&search, &CatalogueSearch::resultsFound, &context,
                     [&](const SearchResults &batch) {
                         for (const SearchMatch &match : batch.matches)
                             outcome.rows << QStringLiteral("%1 %2 %3: %4")
                                                 .arg(batch.caption)
                                                 .arg(match.paragraph)
                                                 .arg(match.offset)
                                                 .arg(match.line);
                     });
    QObject::connect(&search, &CatalogueSearch::countChanged, &context,
                     [&](const QString &line) { outcome.countLine = line; });
    QSignalSpy finished(&search, &CatalogueSearch::searchFinished);
    search.search(text, QTextDocument::FindFlags(flags));
    if (finished.isEmpty() && !finished.wait(10'000))
        qWarning("the search did not finish");
    return outcome;
}

} // namespace

class TestCatalogueSearch : public QObject
{
    Q_OBJECT

private slots:
    void search_data()
    {
        QTest::addColumn<QStringList>("files");   // written before the first search
        QTest::addColumn<QStringList>("edits");   // made after it
        QTest::addColumn<int>("reread");          // files an index then reads again
        QTest::addColumn<QString>("typedBefore"); // a search that the one checked replaces
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("countLine");

        const QStringList abc{"FORAM=Abcdia K\\par Zeta abcdia-like", "SPONGE=ABCDIA x",
                              "RAD=rad abcdiax"};
        QTest::newRow("case ignored, groups in table order, text order within")
            << abc << QStringList() << 0 << ""
            << "abcdia" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Abcdia K", "ФОРАМИНИФЕРЫ 1 5: Zeta abcdia-like",
                           "РАДИОЛЯРИИ 0 4: rad abcdiax", "ГУБКИ 0 0: ABCDIA x"}
            << "Найдено: 4 в 3 группах";
        QTest::newRow("match case")
            << abc << QStringList() << 0 << ""
            << "abcdia" << MatchCase
            << QStringList{"ФОРАМИНИФЕРЫ 1 5: Zeta abcdia-like", "РАДИОЛЯРИИ 0 4: rad abcdiax"}
            << "Найдено: 2 в 2 группах";
        QTest::newRow("whole word; a hyphen ends a word")
            << abc << QStringList() << 0 << ""
            << "abcdia" << WholeWord
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Abcdia K", "ФОРАМИНИФЕРЫ 1 5: Zeta abcdia-like",
                           "ГУБКИ 0 0: ABCDIA x"}
            << "Найдено: 3 в 2 группах";
        QTest::newRow("one group")
            << abc << QStringList() << 0 << ""
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like"}
            << "Найдено: 1 в 1 группе";
        QStringList everyGroup;
        for (const Group &group : GroupTable) {
            everyGroup << QStringLiteral("%1 0 %2: %3 catalogue")
                              .arg(group.caption)
                              .arg(fileName(group).size() + 1)
                              .arg(fileName(group));
        }
        QTest::newRow("every group")
            << QStringList() << QStringList() << 0 << ""
            << "catalogue" << WholeWord << everyGroup << "Найдено: 34 в 34 группах";
        QTest::newRow("no match") << abc << QStringList() << 0 << ""
                                  << "Zygodia" << 0 << QStringList() << "Ничего не найдено";
        QTest::newRow("empty text finds nothing and says nothing")
            << abc << QStringList() << 0 << ""
            << "" << 0 << QStringList() << "";
        QTest::newRow("a stale search is cancelled")
            << abc << QStringList() << 0 << "a"
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like"}
            << "Найдено: 1 в 1 группе";
        QTest::newRow("Cyrillic, capitals typed")
            << QStringList{"FORAM=\\'c0\\'e1\\'e2\\'e3 \\'e0\\'e1\\'e2\\'e3"} << QStringList() << 0
            << ""
            << "АБВГ" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 0 0: Абвг абвг", "ФОРАМИНИФЕРЫ 0 5: Абвг абвг"}
            << "Найдено: 2 в 1 группе";
        QTest::newRow("each match searched for from the end of the one before")
            << QStringList{"FORAM=aaaaa"} << QStringList() << 0 << ""
            << "aa" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 0: aaaaa", "ФОРАМИНИФЕРЫ 0 2: aaaaa"}
            << "Найдено: 2 в 1 группе";
        QTest::newRow("a picture is left out of the offset")
            << QStringList{"FORAM=x <pict> Abcdia"} << QStringList() << 0 << ""
            << "abcdia" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 3: x  Abcdia"}
            << "Найдено: 1 в 1 группе";
        QTest::newRow("a non-breaking space is read as a space")
            << QStringList{"FORAM=Bolivina\\~nova"} << QStringList() << 0 << ""
            << "Bolivina nova" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 0: Bolivina nova"}
            << "Найдено: 1 в 1 группе";
        QTest::newRow("a missing file is named")
            << QStringList{"OSTRA2-"} << QStringList() << 0 << ""
            << "OSTRA" << 0 << QStringList{"ОСТРАКОДЫ 0 0: OSTRA catalogue"}
            << "Найдено: 1 в 1 группе\nОСТРАКОДЫ2: файл не прочитан";
        QTest::newRow("files that are not RTF are named")
            << QStringList{"OSTRA2=!OSTRA2 text", "VERT=!"} << QStringList() << 0 << ""
            << "Zygodia" << 0 << QStringList()
            << "Ничего не найдено\nОСТРАКОДЫ2, ПОЗВОНОЧНЫЕ: файлы не прочитаны";

        QTest::newRow("unchanged files are not read again")
            << abc << QStringList() << 0 << ""
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like"}
            << "Найдено: 1 в 1 группе";
        QTest::newRow("a changed file is read again")
            << abc << QStringList{"SPONGE=Zeta grown\\par Zeta"} << 1 << ""
            << "Zeta" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like", "ГУБКИ 0 0: Zeta grown",
                           "ГУБКИ 1 0: Zeta"}
            << "Найдено: 3 в 2 группах";
        QTest::newRow("same size and modification time, yet rewritten")
            << abc << QStringList{"SPONGE~Zetaia x"} << 1 << ""
            << "Zeta" << 0
            << QStringList{"ФОРАМИНИФЕРЫ 1 0: Zeta abcdia-like", "ГУБКИ 0 0: Zetaia x"}
            << "Найдено: 2 в 2 группах";
        QTest::newRow("a file removed after it was read")
            << abc << QStringList{"FORAM-"} << 1 << ""
            << "Zeta" << 0 << QStringList() << "Ничего не найдено\nФОРАМИНИФЕРЫ: файл не прочитан";
        QTest::newRow("a missing file that comes back")
            << QStringList{"FORAM-"} << QStringList{"FORAM=Zeta back"} << 1 << ""
            << "Zeta" << 0 << QStringList{"ФОРАМИНИФЕРЫ 0 0: Zeta back"} << "Найдено: 1 в 1 группе";
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
        QFETCH(QString, countLine);

        // Every group's catalogue holds "<FILE NAME> catalogue" unless the row says otherwise.
        DataTree tree;
        for (const Group &group : GroupTable)
            QVERIFY(
                tree.writeCatalogue(fileName(group), fileName(group).toLatin1() + " catalogue"));
        for (const QString &file : std::as_const(files))
            apply(tree, file);

        CatalogueSearch catalogues;
        CatalogueIndex index;
        QCOMPARE(index.refresh(QDir::currentPath()), CatalogueIndex::GroupCount);
        ::search(catalogues, text, flags);
        for (const QString &edit : std::as_const(edits))
            apply(tree, edit);
        QCOMPARE(index.refresh(QDir::currentPath()), reread);

        if (!typedBefore.isEmpty())
            catalogues.search(typedBefore, {});
        const Outcome outcome = ::search(catalogues, text, flags);
        QCOMPARE(outcome.rows, rows);
        QCOMPARE(outcome.countLine, countLine);
    }
};

QTEST_MAIN(TestCatalogueSearch)
#include "tst_cataloguesearch.moc"
