// The program started in a folder whose name is not UTF-8, as a data set
// copied from Windows media often is: the catalogue, the reference list, the
// click and the save all reach the real folder.
#include "CatalogueView.h"
#include "Fosdat.h"
#include "Program.h"
#include "QtSoundCue.h"
#include "support/DataTree.h"
#include "support/Fakes.h"
#include "support/Wave.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>
#include <unistd.h>

class TestAnyFolder : public QObject
{
    Q_OBJECT

private slots:
    void startsInAWindows1251Folder()
    {
        const DataTree tree(QByteArray("\xC1\xC0\xC7\xC0")); // "БАЗА" in Windows-1251
        QVERIFY(QDir::currentPath().contains(QChar::ReplacementCharacter));
        QVERIFY(tree.writeCatalogue(QStringLiteral("FORAM"), "Foraminifera catalogue"));
        QVERIFY(tree.write(QStringLiteral("dat/BD/REFS1.txt"), "1. \xc8\xe2\xe0\xed\xee\xe2 1975"));
        QVERIFY(tree.write(QStringLiteral("dat/sound/menu.wav"), clickWave(1000)));
        int defaultSounds = 0;
        auto dialogs = std::make_unique<RecordingDialogs>();
        RecordingDialogs &shown = *dialogs;
        Program program(std::make_unique<QtSoundCue>([&] { ++defaultSounds; }), std::move(dialogs));
        Fosdat *window = program.showCatalogueWindow();

        QVERIFY(window->catalogueView()->toPlainText().contains(u"Foraminifera catalogue"));
        QCOMPARE(window->findChild<QPlainTextEdit *>(QStringLiteral("Text2"))->toPlainText(),
                 QStringLiteral("1. Иванов 1975"));
        // The start-up cues found the click: played, or silent without a
        // sound server, but never the default sound of a missing file.
        QTest::qWait(300);
        QCOMPARE(defaultSounds, 0);

        // Saved where the save dialog puts a file of this folder.
        shown.answer = QDir::currentPath() + QStringLiteral("/text.txt");
        window->findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(shown.messages.size(), 0);
        QCOMPARE(::access("text.txt", F_OK), 0);
    }
};

QTEST_MAIN(TestAnyFolder)
#include "tst_anyfolder.moc"
