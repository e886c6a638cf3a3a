// The Save command of the catalogue window, driven through its menu action
// with a scripted save dialog, in a program set up as at start-up.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "RtfLimits.h"
#include "RtfRecordDocument.h"
#include "RtfText.h"
#include "RtfWriter.h"
#include "Startup.h"
#include "support/DataTree.h"
#include "support/Fakes.h"
#include "support/FileSizeLimit.h"

#include <QAction>
#include <QComboBox>
#include <QTest>
#include <unistd.h>

using namespace fosdat;
using namespace Qt::StringLiterals;

namespace
{

const QString AppTitle = QStringLiteral("база данных Тарвина");

std::optional<QByteArray> contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QStringList entriesOf(const QString &directory)
{
    return QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

enum class Failure { InsideRegularFile, Directory, Device, Proc, ReadOnlyDirectory, SizeLimit };

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestSave : public QObject
{
    Q_OBJECT

    // A data set with two catalogues, and the window shown on it.
    struct Fixture {
        Fixture()
        {
            tree.writeCatalogue(QStringLiteral("FORAM"), "Foraminifera catalogue");
            tree.writeCatalogue(QStringLiteral("RAD"), "Radiolaria catalogue");
            tree.write(QStringLiteral("dat/BD/REFS1.txt"), "refs");
            window.loadStartupContent();
        }

        void save(const std::optional<QString> &answer)
        {
            dialogs.answer = answer;
            window.findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
        }
        QByteArray viewAsRtf() const
        {
            return rtf::write(*rtf::buildWhole(window.catalogueView()->catalogue()));
        }
        void chooseGroup(const QString &caption)
        {
            auto *combo = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
            const int index = combo->findText(caption);
            QVERIFY(index >= 0);
            combo->setCurrentIndex(index);
            emit combo->activated(index);
            // A file over 1 MB is read in the background; the user saves what is
            // shown. Seconds under a sanitizer on a busy machine.
            QTRY_VERIFY_WITH_TIMEOUT(!window.catalogueLoader().isLoading(), 30000);
        }

        DataTree tree;
        RecordingSoundCue sound;
        RecordingDialogs dialogs;
        Fosdat window{sound, dialogs};
    };

private slots:
    void initTestCase() { setUpApplication(); }

    void firstSaveProposesTextTxt()
    {
        Fixture f;
        const QString path = f.tree.path(QStringLiteral("каталог.txt"));
        f.save(path);
        QCOMPARE(f.dialogs.saveRequests.size(), 1);
        QCOMPARE(f.dialogs.saveRequests[0].title, QStringLiteral("Сохранить информацию"));
        QCOMPARE(f.dialogs.saveRequests[0].proposed, QStringLiteral("text.txt"));
        QCOMPARE(f.dialogs.saveRequests[0].filter, QStringLiteral("*.txt"));
        QVERIFY(f.dialogs.messages.isEmpty());
        // RTF, whatever the extension, and the whole catalogue shown.
        const QByteArray saved = contentsOf(path).value();
        QVERIFY(saved.startsWith("{\\rtf1"));
        QCOMPARE(saved, f.viewAsRtf());
        QVERIFY(saved.contains("Foraminifera catalogue"));
    }

    void nextSaveProposesTheChosenPath()
    {
        Fixture f;
        const QString first = f.tree.path(QStringLiteral("first.txt"));
        f.save(first);
        f.save(f.tree.path(QStringLiteral("second.rtf")));
        f.save(std::nullopt);
        QCOMPARE(f.dialogs.saveRequests.size(), 3);
        QCOMPARE(f.dialogs.saveRequests[1].proposed, first);
        QCOMPARE(f.dialogs.saveRequests[2].proposed, f.tree.path(QStringLiteral("second.rtf")));
        QVERIFY(QFile::exists(f.tree.path(QStringLiteral("second.rtf"))));
    }

    void cancelWritesNothing()
    {
        Fixture f;
        const QStringList before = entriesOf(f.tree.path(QStringLiteral(".")));
        f.save(std::nullopt);
        QCOMPARE(entriesOf(f.tree.path(QStringLiteral("."))), before);
        QVERIFY(!QFile::exists(QStringLiteral("text.txt")));
        QVERIFY(f.dialogs.messages.isEmpty());
        // The proposal is still the original one.
        f.save(std::nullopt);
        QCOMPARE(f.dialogs.saveRequests.last().proposed, QStringLiteral("text.txt"));
    }

    void cancelKeepsAnEarlierSave()
    {
        Fixture f;
        const QString path = f.tree.path(QStringLiteral("out.txt"));
        f.save(path);
        const QByteArray first = contentsOf(path).value();
        f.chooseGroup(QStringLiteral("РАДИОЛЯРИИ"));
        f.save(std::nullopt);
        QCOMPARE(contentsOf(path).value(), first);
        QCOMPARE(f.dialogs.saveRequests.last().proposed, path);
    }

    // A catalogue that shows some of its text without its formatting is
    // saved only after a question, whose "Нет" writes nothing; any other, of
    // any size, whole and without a question.
    void partOfACatalogueAsksFirst_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("confirmed");
        const QString plain =
            QStringLiteral("Часть каталога показана без оформления: она будет сохранена без него, "
                           "как показана. Сохранить?");
        QTest::newRow("whole") << u"ФОРАМИНИФЕРЫ"_s << QString() << false;
        QTest::newRow("taller than a view lays out") << u"РАДИОЛЯРИИ"_s << QString() << false;
        QTest::newRow("end without its formats, answered no") << u"ГУБКИ"_s << plain << false;
        QTest::newRow("end without its formats, answered yes") << u"ГУБКИ"_s << plain << true;
    }
    void partOfACatalogueAsksFirst()
    {
        QFETCH(QString, group);
        QFETCH(QString, question);
        QFETCH(bool, confirmed);
        Fixture f;
        // More paragraphs than a view shows.
        const QByteArray paragraphs = QByteArray("Foraminifera\\par ").repeated(100'010);
        QVERIFY(f.tree.write(QStringLiteral("dat/BD/RAD"), "{\\rtf1\\fs2 " + paragraphs + "}"));
        // More changes of format in a screen than a view keeps: one-point letters.
        const QByteArray toggles =
            QByteArray("\\b x\\b0 y").repeated(rtf::limits::MaxStretchFormatChanges * 2);
        QVERIFY(f.tree.write(QStringLiteral("dat/BD/SPONGE"), "{\\rtf1\\fs2 " + toggles + "}"));
        f.chooseGroup(group);
        const QString path = f.tree.path(QStringLiteral("saved.txt"));
        f.dialogs.confirmation = confirmed;
        f.save(path);
        QCOMPARE(f.dialogs.questions.size(), question.isEmpty() ? 0 : 1);
        if (!question.isEmpty()) {
            QCOMPARE(f.dialogs.questions[0].text, question);
            QCOMPARE(f.dialogs.questions[0].title, AppTitle);
        }
        const bool written = question.isEmpty() || confirmed;
        QCOMPARE(f.dialogs.saveRequests.size(), written ? 1 : 0);
        QCOMPARE(contentsOf(path), written ? std::optional(f.viewAsRtf()) : std::nullopt);
        QVERIFY(f.dialogs.messages.isEmpty());
        // All the text of the file is saved.
        if (written && group == u"РАДИОЛЯРИИ") {
            QCOMPARE(rtf::readText(*contentsOf(path)),
                     rtf::readText(*contentsOf(f.tree.path(QStringLiteral("dat/BD/RAD")))));
        }
    }

    void savesTheGroupShownNow()
    {
        Fixture f;
        f.chooseGroup(QStringLiteral("РАДИОЛЯРИИ"));
        const QString path = f.tree.path(QStringLiteral("rad.txt"));
        f.save(path);
        const QByteArray saved = contentsOf(path).value();
        QCOMPARE(saved, f.viewAsRtf());
        QVERIFY(saved.contains("Radiolaria catalogue"));
        QVERIFY(!saved.contains("Foraminifera"));
    }

    void overwritesWithoutAsking()
    {
        Fixture f;
        const QString path = f.tree.path(QStringLiteral("old.txt"));
        QVERIFY(f.tree.write(QStringLiteral("old.txt"), QByteArray(100'000, 'x')));
        f.save(path);
        QCOMPARE(contentsOf(path).value(), f.viewAsRtf());
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(entriesOf(f.tree.path(QStringLiteral("."))),
                 (QStringList{QStringLiteral("dat"), QStringLiteral("old.txt")}));
    }

    // A failed save says why, keeps what was there, leaves nothing behind,
    // and the next dialog proposes the name in the folder of the last save
    // that worked.
    void failedWrite_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::newRow("path inside a regular file") << Failure::InsideRegularFile;
        QTest::newRow("directory") << Failure::Directory;
        QTest::newRow("device") << Failure::Device;
        QTest::newRow("proc") << Failure::Proc;
        QTest::newRow("read-only directory and file") << Failure::ReadOnlyDirectory;
        // The limit raises SIGXFSZ, which the program's set-up makes harmless.
        QTest::newRow("file size limit") << Failure::SizeLimit;
    }
    void failedWrite()
    {
        QFETCH(Failure, failure);
        Fixture f;
        const QString first = f.tree.path(QStringLiteral("first.txt"));
        f.save(first);
        const QByteArray old = "an earlier file";
        QVERIFY(f.tree.write(QStringLiteral("dir/old.txt"), old));
        const QString dir = f.tree.path(QStringLiteral("dir"));
        QString target = f.tree.path(QStringLiteral("dir/old.txt"));
        std::optional<FileSizeLimit> limit;
        switch (failure) {
        case Failure::InsideRegularFile:
            target += QStringLiteral("/new.txt");
            break;
        case Failure::Directory:
            target = dir;
            break;
        case Failure::Device:
            target = QStringLiteral("/dev/full");
            break;
        case Failure::Proc:
            target = QStringLiteral("/proc/fosdat-save-test.txt");
            break;
        case Failure::ReadOnlyDirectory:
            if (geteuid() == 0)
                QSKIP("root writes into read-only directories");
            // A writable file would be written in place: both refuse.
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
            QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Failure::SizeLimit:
            limit.emplace(64, FileSizeLimit::LeaveSignal); // less than the catalogue's RTF
            break;
        }

        f.save(target);
        limit.reset();
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(f.dialogs.messages.size(), 1);
        const RecordingDialogs::Message &message = f.dialogs.messages[0];
        QCOMPARE(message.icon, QMessageBox::Critical);
        QCOMPARE(message.title, AppTitle);
        const QString lead =
            QStringLiteral("Не удалось сохранить файл %1:\n").arg(QDir::toNativeSeparators(target));
        QVERIFY2(message.text.startsWith(lead), qPrintable(message.text));
        QVERIFY2(message.text.size() > lead.size(), "no reason given");
        QVERIFY(failure != Failure::SizeLimit || message.text.endsWith(u"файл слишком большой"));
        // Nothing was replaced and nothing was left behind.
        QCOMPARE(contentsOf(f.tree.path(QStringLiteral("dir/old.txt"))).value(), old);
        QCOMPARE(entriesOf(dir), QStringList{QStringLiteral("old.txt")});
        QVERIFY(QFileInfo(QStringLiteral("/dev/full")).exists());
        QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
        QVERIFY(!QFile::exists(QStringLiteral("/proc/fosdat-save-test.txt")));
        // The window goes on: the next save works.
        const QString next = f.tree.path(QStringLiteral("next.txt"));
        f.save(next);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(contentsOf(next).value(), f.viewAsRtf());
        QCOMPARE(f.dialogs.saveRequests.last().proposed, f.tree.path(QFileInfo(target).fileName()));
        f.save(std::nullopt);
        QCOMPARE(f.dialogs.saveRequests.last().proposed, next);
    }
};

QTEST_MAIN(TestSave)
#include "tst_save.moc"
