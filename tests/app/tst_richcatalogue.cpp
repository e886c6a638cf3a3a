// A catalogue as richly formatted as a real one may be (30,000 genera in
// about 5 MB, eight changes of format each, written by the sample generator
// to disk) through every reader of the program: the converter prints all of
// it, the search over every catalogue finds its last genus, and the window,
// reading it in the background, shows it whole or ends it with a line that
// says how much of it is shown, and then saves only a part after asking.
#include "CatalogueLoader.h"
#include "CatalogueSearch.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "RtfText.h"
#include "SampleTree.h"
#include "support/DataTree.h"
#include "support/Fakes.h"
#include "support/RtfPicture.h"

#include <QAction>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

using namespace fosdat;

namespace
{

constexpr int Genera = 30'000;

} // namespace

class TestRichCatalogue : public QObject
{
    Q_OBJECT

    DataTree m_data;
    sampledata::Catalogue m_content = sampledata::scaledCatalogueContent(Genera);
    QString m_printed; // by the converter
    QString m_lastGenus = m_content.families.last().genera.last().name;
    QList<int> m_genusLines; // of each genus entry, 1-based, in the catalogue's order

private slots:
    void initTestCase()
    {
        const QByteArray rtf =
            sampledata::writeCatalogue(m_content, sampledata::EntryFormatting::Rich, &m_genusLines);
        QVERIFY(rtf.size() > 4'500'000);
        QVERIFY(m_data.write(QStringLiteral("dat/BD/FORAM"), rtf));
        QVERIFY(m_data.write(QStringLiteral("dat/BD/REFS1.txt"), "refs"));
    }

    // Every genus's line where the catalogue has it, to the last line.
    void converterPrintsAllOfIt()
    {
        QProcess rtf2txt;
        rtf2txt.start(QStringLiteral(FOSDAT_RTF2TXT), {QStringLiteral("dat/BD/FORAM")});
        QVERIFY(rtf2txt.waitForFinished(120'000));
        QCOMPARE(rtf2txt.exitCode(), 0);
        QCOMPARE(rtf2txt.readAllStandardError(), QByteArray());
        m_printed = QString::fromUtf8(rtf2txt.readAllStandardOutput());
        const QStringList lines = m_printed.split(u'\n');
        qsizetype entry = 0;
        for (const sampledata::FamilyEntry &family : std::as_const(m_content.families)) {
            for (const sampledata::GenusEntry &genus : family.genera) {
                const QString line = lines.value(m_genusLines.value(entry++) - 1);
                const QString name = genus.mark + genus.name;
                QVERIFY2(line.startsWith(name) && line.size() > name.size() &&
                             (line[name.size()].isSpace() || line[name.size()] == u':'),
                         qPrintable(line));
            }
        }
        const sampledata::GenusEntry &last = m_content.families.last().genera.last();
        QCOMPARE(lines.size(), m_genusLines.last() + last.synonyms.size() + 1); // and the end
    }

    void searchFindsTheLastGenus()
    {
        CatalogueSearch search;
        QSignalSpy found(&search, &CatalogueSearch::resultsFound);
        QSignalSpy finished(&search, &CatalogueSearch::searchFinished);
        search.search(m_lastGenus, QTextDocument::FindWholeWords);
        QVERIFY(finished.wait(120'000));
        QCOMPARE(found.size(), 1);
        const auto results = found[0][0].value<SearchResults>();
        QCOMPARE(results.caption, QStringLiteral("ФОРАМИНИФЕРЫ"));
        QCOMPARE(results.matches.size(), 1);
        QCOMPARE(results.matches[0].paragraph, m_printed.count(u'\n') - 1); // the last
    }

    // Whole: every line of the text, the last one reached with Ctrl+End;
    // Save writes it all without a question.
    void windowShowsAll()
    {
        RecordingSoundCue sound;
        RecordingDialogs dialogs;
        Fosdat window(sound, dialogs);
        window.loadStartupContent();
        window.show();
        QVERIFY(window.catalogueLoader().isLoading()); // a file of this size
        QTRY_VERIFY_WITH_TIMEOUT(!window.catalogueLoader().isLoading(), 300'000);
        CatalogueView &view = *window.catalogueView();
        QCOMPARE(view.catalogue().text + u'\n', m_printed);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        const QString lastLine = m_printed.chopped(1).section(u'\n', -1);
        const QRect sight = view.viewport()->rect();
        QCOMPARE(view.cursorForPosition(sight.bottomLeft()).block().text(), lastLine);

        dialogs.answer = m_data.path(QStringLiteral("saved.txt"));
        window.findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
        QVERIFY(dialogs.questions.isEmpty());
        QFile saved(*dialogs.answer);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(fosdat::rtf::readText(saved.readAll()).value_or(QString()) + u'\n', m_printed);
    }
};

QTEST_MAIN(TestRichCatalogue)
#include "tst_richcatalogue.moc"
