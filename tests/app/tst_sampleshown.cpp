// The generated sample data set, read by the real reader and shown in the
// real window: every group loads when chosen in the group list, and the find
// dialog finds the first genus of each.
#include "CatalogueView.h"
#include "FindDialog.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "Program.h"
#include "SampleTree.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace fosdat;

class TestSampleShown : public QObject
{
    Q_OBJECT

private slots:
    void everyGroupLoadsAndItsFirstGenusIsFound()
    {
        DataTree tree;
        QVERIFY(sampledata::writeFiles(tree.path(QStringLiteral(".")), sampledata::sampleTree())
                    .isEmpty());
        const QList<sampledata::Catalogue> catalogues = sampledata::sampleCatalogues();
        auto dialogs = std::make_unique<RecordingDialogs>();
        const RecordingDialogs &shown = *dialogs;
        Program program(std::make_unique<RecordingSoundCue>(), std::move(dialogs));
        Fosdat *window = program.showCatalogueWindow();
        auto *combo = window->findChild<QComboBox *>(QStringLiteral("Combo1"));
        program.openFindDialog();
        auto *field = program.findDialog()->findChild<QLineEdit *>(QStringLiteral("Text3"));
        QWidget *findButton =
            program.findDialog()
                ->findChild<QToolBar *>(QStringLiteral("Toolbar1"))
                ->widgetForAction(program.findDialog()->findChild<QAction *>("Button1"));

        for (int row = 0; row < int(data::GroupTable.size()); ++row) {
            if (row > 0) // the next group, chosen with the arrow key in the group list
                QTest::keyClick(combo, Qt::Key_Down);
            QCOMPARE(window->catalogPath().value_or(QString()),
                     data::GroupTable[row].catalogPath.toString());
            const QString firstGenus = catalogues.at(row).families.first().genera.first().name;
            field->setText(firstGenus);
            QTest::mouseClick(findButton, Qt::LeftButton);
            // A large catalogue is searched once read whole.
            QTRY_COMPARE(window->catalogueView()->textCursor().selectedText(), firstGenus);
            QVERIFY2(shown.messages.isEmpty(), qPrintable(firstGenus));
        }
    }
};

QTEST_MAIN(TestSampleShown)
#include "tst_sampleshown.moc"
