// The text filter's scan of the catalogues' texts, as the search index holds
// them, gives what the find dialog's matching gives on each entry alone: its
// line, family, order and class, with letters of any alphabet, whole words,
// letter case, the first and the last entry of each catalogue, text between
// entries that belongs to none, a catalogue with most of the text, which the
// two halves of the scan share. The catalogues are real files, read by the
// catalogue model.
#include "EntryTextFilter.h"
#include "support/DataTree.h"
#include "support/RtfText.h"
#include "support/WindowCatalogue.h"

#include <QTest>

using namespace fosdat;
using namespace fosdat::diversity;
using namespace Qt::StringLiterals;

namespace
{

const QString Brachiopods = u"Класс Brachiopoda\n"
                            u"Отряд Rhynchonellida\n"
                            u"Семейство Alphidae\n"
                            u"Alphathyris Müller, 1900\tK (Camp)\t(12)\n"
                            u"Betathyris ÜBER, 1910\tK (Turo) - T (Dani)\t(13)\n"
                            u"Семейство Betidae\n"
                            u"Gammathyris Čech, 1920 ×\tJ (Toar-Call)\t(14)\n"
                            u"Deltella Ida, 1930\tK (Xyzz)\t(15)\n"
                            u"Примечание: Thyris ida и ещё (12)\n"
                            u"Отряд Orthida\n"
                            u"Epsilonia Smith, 1940\tO (Cara)\t(16)\n"
                            u"Zetella 𐐀bc, 1950\tK\t(17)"_s;
// Another group's, its first entry on the second line of its paragraph.
const QString Radiolarians = u"Класс Radiolaria\u2028Etaella Ida, 1960\tK (Camp)\t(18)\n"
                             u"Thetaella\tK (Maas)\t(19)"_s;

bool passesAlone(const strata::GenusEntry &entry, const TextMatcher &matcher)
{
    for (QStringView text : {entry.text(), entry.family(), entry.order(), entry.className()}) {
        if (!text.isEmpty() && matcher.indexIn(text, 0) >= 0)
            return true;
    }
    return false;
}

} // namespace

class TestEntryTextFilter : public QObject
{
    Q_OBJECT

private slots:
    void scanAgreesWithEachEntry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<int>("passing");
        QTest::newRow("one letter") << "a" << false << false << 8;
        QTest::newRow("a letter with its mark, other case") << "über" << false << false << 1;
        QTest::newRow("the same, its case") << "über" << true << false << 0;
        QTest::newRow("Cyrillic of a heading") << "семейство" << false << false << 0;
        QTest::newRow("a family's name, whole word") << "Betidae" << false << true << 2;
        QTest::newRow("part of a word, whole words") << "thyris" << false << true << 0;
        QTest::newRow("an order over two families") << "rhynchonellida" << false << false << 4;
        QTest::newRow("the class, its case") << "Brachiopoda" << true << false << 6;
        QTest::newRow("in the last line, beyond the basic plane") << "𐐨BC" << false << false << 1;
        QTest::newRow("a sign") << "×" << false << false << 1;
        QTest::newRow("the first line's start") << "Alphathyris" << true << true << 1;
        QTest::newRow("across two lines") << "(12)\nBeta" << false << false << 0;
        QTest::newRow("a word and a name of the same letters") << "ida" << false << false << 7;
        QTest::newRow("in a note between entries only") << "Примечание" << false << false << 0;
        QTest::newRow("across a line break") << "Radiolaria\u2028Eta" << false << false << 0;
        QTest::newRow("the other group's last entry") << "Thetaella" << false << true << 1;
    }
    void scanAgreesWithEachEntry()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(int, passing);

        DataTree tree;
        QVERIFY(tree.writeCatalogue(u"BRACH1"_s, rtfBody(Brachiopods)));
        QVERIFY(tree.writeCatalogue(u"RAD"_s, rtfBody(Radiolarians)));
        const GenusCatalogue catalogue = windowCatalogue();
        const catalogue::CataloguesPtr &texts = catalogue.source->texts();
        const QList<strata::GenusEntry> &entries = catalogue.entries;
        QCOMPARE(entries.size(), 8);
        for (int group = 0; group < catalogue::GroupCount; ++group) // scanned, not read alone
            QCOMPARE(catalogue.texts.at(group)->size(), texts->at(group).text.size());
        QTextDocument::FindFlags flags;
        if (matchCase)
            flags |= QTextDocument::FindCaseSensitively;
        if (wholeWords)
            flags |= QTextDocument::FindWholeWords;
        const TextMatcher matcher(text, flags);
        EntryTextFilter filter;
        filter.setCatalogue(&catalogue);
        filter.setMatcher(TextMatcher(u"Deltella"_s, {})); // what it matched before is forgotten
        filter.setMatcher(matcher);
        int passed = 0;
        for (const strata::GenusEntry &entry : entries) {
            QVERIFY2(filter.accepts(entry) == passesAlone(entry, matcher),
                     qPrintable(entry.text().toString()));
            passed += filter.accepts(entry);
        }
        QCOMPARE(passed, passing);
    }
};

QTEST_MAIN(TestEntryTextFilter)
#include "tst_entrytextfilter.moc"
