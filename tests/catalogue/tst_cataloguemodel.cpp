// The catalogue model on real files: a generation that changes exactly when a
// file changes on disk, the entries read again for it and those handed out
// before left as they were; a catalogue larger than the texts' budget,
// counted by the diversity window up to its cut and named there with what
// was left out; and, on the sample data set, the entries found by their
// place in the text, and their references as the reference links read them.
#include "CatalogueModel.h"
#include "CatalogueSearch.h"
#include "DiversityCommands.h"
#include "DiversityWindow.h"
#include "ReferenceParser.h"
#include "support/CatalogueEdits.h"
#include "support/Fakes.h"

#include <QLabel>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace fosdat;
using namespace Qt::StringLiterals;

namespace
{

// "CAPTION Genus" for every entry, in the entries' order.
QStringList genera(const catalogue::CatalogueEntries &entries)
{
    QStringList names;
    for (const strata::GenusEntry &entry : entries.entries())
        names << catalogue::captionOf(entry.group) + u' ' + entry.genus().toString();
    return names;
}

// The groups whose texts differ in generation between two readings.
QStringList changedGroups(const catalogue::Catalogues &before, const catalogue::Catalogues &after)
{
    QStringList captions;
    for (int group = 0; group < catalogue::GroupCount; ++group) {
        if (before.at(group).generation != after.at(group).generation)
            captions << catalogue::captionOf(group);
    }
    return captions;
}

// "Genusaa", "Genusab"...: a Latin genus name for each number.
QString genusName(int number)
{
    return u"Genus"_s + QChar(u'a' + number / 26 % 26) + QChar(u'a' + number % 26);
}

QString thousands(qsizetype number)
{
    return QLocale(QLocale::Russian).toString(number);
}

} // namespace

class TestCatalogueModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home; // no user's time scale file

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_home.path().toUtf8()); }

    void generations_data()
    {
        QTest::addColumn<QStringList>("edits");   // after the first reading
        QTest::addColumn<QStringList>("changed"); // the groups read again
        QTest::addColumn<QStringList>("genera");  // then
        const QStringList first{"ФОРАМИНИФЕРЫ Aus", "ФОРАМИНИФЕРЫ Bus", "ГУБКИ Cus"};
        QTest::newRow("nothing changed") << QStringList() << QStringList() << first;
        QTest::newRow("a catalogue written again")
            << QStringList{"FORAM=Dus Smith, 1900 K (Camp) (4)"} << QStringList{"ФОРАМИНИФЕРЫ"}
            << QStringList{"ФОРАМИНИФЕРЫ Dus", "ГУБКИ Cus"};
        QTest::newRow("the same bytes written again")
            << QStringList{"SPONGE=Cus K (Maas) (3)"} << QStringList{"ГУБКИ"} << first;
        QTest::newRow("same size and modification time, other text")
            << QStringList{"SPONGE~Cux K (Maas) (3)"} << QStringList{"ГУБКИ"}
            << QStringList{"ФОРАМИНИФЕРЫ Aus", "ФОРАМИНИФЕРЫ Bus", "ГУБКИ Cux"};
        QTest::newRow("a catalogue removed")
            << QStringList{"FORAM-"} << QStringList{"ФОРАМИНИФЕРЫ"} << QStringList{"ГУБКИ Cus"};
        QTest::newRow("a missing one written, in the table's order")
            << QStringList{"RAD=Eus K (Camp) (5)"} << QStringList{"РАДИОЛЯРИИ"}
            << QStringList{"ФОРАМИНИФЕРЫ Aus", "ФОРАМИНИФЕРЫ Bus", "РАДИОЛЯРИИ Eus", "ГУБКИ Cus"};
        QTest::newRow("one that is not RTF")
            << QStringList{"FORAM=!Aus K (Camp)"} << QStringList{"ФОРАМИНИФЕРЫ"}
            << QStringList{"ГУБКИ Cus"};
    }
    void generations()
    {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, changed);
        QFETCH(QStringList, genera);
        DataTree tree;
        QVERIFY(editCatalogue(tree, u"FORAM=Aus K (Camp) (1)\\par Bus J (Toar) (2)"_s));
        QVERIFY(editCatalogue(tree, u"SPONGE=Cus K (Maas) (3)"_s));
        catalogue::CatalogueModel model;
        const catalogue::CataloguesPtr before = model.refresh(QDir::currentPath());
        const catalogue::EntriesPtr read = model.entries(before);
        QCOMPARE(::genera(*read),
                 (QStringList{"ФОРАМИНИФЕРЫ Aus", "ФОРАМИНИФЕРЫ Bus", "ГУБКИ Cus"}));
        QCOMPARE(model.entries(before), read); // read once for a generation

        for (const QString &edit : std::as_const(edits))
            QVERIFY(editCatalogue(tree, edit));
        // As a window asks: on the worker, for the current directory.
        const catalogue::EntriesPtr again = model.readEntries().result();
        const catalogue::CataloguesPtr after = again->texts();
        QCOMPARE(changedGroups(*before, *after), changed);
        QCOMPARE(after->generation() > before->generation(), !changed.isEmpty());
        QCOMPARE(again == read, changed.isEmpty());
        QCOMPARE(::genera(*again), genera);
        // What was handed out before is as it was.
        QCOMPARE(::genera(*read),
                 (QStringList{"ФОРАМИНИФЕРЫ Aus", "ФОРАМИНИФЕРЫ Bus", "ГУБКИ Cus"}));
        QCOMPARE(before->at(0).text, u"Aus K (Camp) (1)\nBus J (Toar) (2)"_s);
    }

    // The window "Разнообразие во времени" as the program gives it entries,
    // on catalogues whose texts together pass the model's budget or not.
    void largerThanTheBudget_data()
    {
        QTest::addColumn<int>("held");   // paragraphs within the budget; -1: all
        QTest::addColumn<int>("genera"); // written
        QTest::newRow("within the budget: counted whole") << -1 << 300;
        QTest::newRow("past it: counted up to the cut, and named") << 120 << 300;
        QTest::newRow("not one paragraph within it") << 0 << 50;
    }
    void largerThanTheBudget()
    {
        QFETCH(int, held);
        QFETCH(int, genera);
        DataTree tree;
        QStringList paragraphs;
        for (int genus = 0; genus < genera; ++genus)
            paragraphs << genusName(genus) + u" Smith, 1900 K (Camp) (12)"_s;
        QVERIFY(tree.writeCatalogue(u"BRACH1"_s, paragraphs.join(u"\\par "_s).toLatin1()));
        const QString text = paragraphs.join(u'\n');
        // The budget ends inside the first paragraph left out.
        const qsizetype budget =
            held < 0 ? text.size() : QStringView(paragraphs.mid(0, held).join(u'\n')).size() + 3;

        CatalogueSearch search(nullptr, budget);
        RecordingDialogs dialogs;
        DiversityCommands commands(dialogs, search, [] { return nullptr; });
        QSignalSpy read(&commands, &DiversityCommands::entriesRead);
        commands.openWindow();
        QVERIFY(read.wait(10'000));
        const auto *status = commands.window()->findChild<QLabel *>(u"statusLine"_s);
        const int counted = held < 0 ? genera : held;
        QStringList lines = status->text().split(u'\n');
        QCOMPARE(lines.takeFirst(), u"Учтено %1 из %1 родов"_s.arg(thousands(counted)));
        QCOMPARE(commands.window()->counts()->admitted(), counted);
        // The other groups' files are missing, and named.
        QCOMPARE(lines.size(), catalogue::GroupCount - 1 + (held < 0 ? 0 : 1));
        if (held < 0)
            return;
        const QString cut = u"БРАХИОПОДЫ1: файл слишком велик, учтено только его начало "
                            u"(не прочитано знаков: %1, абзацев: %2)"_s;
        const qsizetype kept = held > 0 ? paragraphs.mid(0, held).join(u'\n').size() : budget;
        QVERIFY2(
            lines.contains(cut.arg(thousands(text.size() - kept)).arg(thousands(genera - held))),
            qPrintable(status->text()));
    }

    // On the sample data set: each group's entries are its own, and the
    // entry found at a place of a group's text is the one whose line holds
    // it, at either end of the line, and none on a line end; the first entry
    // from a place is the next whose line begins there or after.
    void entriesByPlace()
    {
        catalogue::CatalogueModel model;
        const catalogue::EntriesPtr read =
            model.entries(model.refresh(QStringLiteral(FOSDAT_SAMPLE_DIR)));
        QCOMPARE(read->first(0), 0);
        QCOMPARE(read->end(catalogue::GroupCount - 1), read->size());
        for (int group = 0; group < catalogue::GroupCount; ++group) {
            const QString &text = read->texts()->at(group).text;
            for (qsizetype entry = read->first(group); entry < read->end(group); ++entry) {
                QCOMPARE(read->at(entry).group, group);
                const QStringView line = read->at(entry).text();
                const qsizetype start = line.data() - text.constData();
                const qsizetype end = start + line.size();
                QCOMPARE(read->entryAt(group, start), entry);
                QCOMPARE(read->entryAt(group, end - 1), entry);
                QCOMPARE(read->entryAt(group, end), -1);
                QCOMPARE(read->firstFrom(group, start), entry);
                QCOMPARE(read->firstFrom(group, start + 1), entry + 1);
            }
            QCOMPARE(read->firstFrom(group, text.size()), read->end(group));
        }
    }

    // An entry's references are the first list the reference links see
    // after its genus (data::findReferenceNumbers()), number for number: the
    // export's references column and a click on a number agree.
    void referencesAsTheLinksReadThem()
    {
        catalogue::CatalogueModel model;
        const catalogue::EntriesPtr read =
            model.entries(model.refresh(QStringLiteral(FOSDAT_SAMPLE_DIR)));
        QVERIFY(read->size() > 30000);
        for (qsizetype entry = 0; entry < read->size(); ++entry) {
            const strata::GenusEntry &e = read->at(entry);
            const QStringView line = e.text();
            const qsizetype genusEnd = e.genus().data() - line.data() + e.genus().size();
            QList<data::ReferenceMention> first;
            for (const data::ReferenceMention &mention : data::findReferenceNumbers(line)) {
                if (mention.position < genusEnd)
                    continue;
                if (!first.isEmpty() &&
                    line.indexOf(u')', first.last().position) < mention.position)
                    break;
                first << mention;
            }
            const QStringView links =
                first.isEmpty() ? QStringView()
                                : line.sliced(first.first().position, first.last().position +
                                                                          first.last().length -
                                                                          first.first().position);
            QVERIFY2(e.references() == links, qPrintable(line.toString()));
        }
    }
};

QTEST_MAIN(TestCatalogueModel)
#include "tst_cataloguemodel.moc"
