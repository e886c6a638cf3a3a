// Damaged, hostile and odd data files: the window keeps working, shows what
// it can, never shows a message and never blocks.
#include "CatalogueView.h"
#include "Fosdat.h"
#include "ReferenceListReader.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

enum class Kind { Bytes, Sparse, Directory, Fifo, BrokenLink, LoopingLink, Unreadable };

// Puts something of the given kind at `relative`.
bool place(const DataTree &tree, const QString &relative, Kind kind, const QByteArray &bytes)
{
    const QString path = tree.path(relative);
    QDir().mkpath(QFileInfo(path).path());
    const QByteArray native = QFile::encodeName(path);
    switch (kind) {
    case Kind::Bytes:
        return tree.write(relative, bytes);
    case Kind::Sparse: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("{\\rtf1 ") == 7 &&
               file.resize(200LL * 1024 * 1024);
    }
    case Kind::Directory:
        return QDir().mkpath(path);
    case Kind::Fifo:
        return ::mkfifo(native.constData(), 0600) == 0;
    case Kind::BrokenLink:
        return QFile::link(path + ".nowhere", path);
    case Kind::LoopingLink:
        return QFile::link(path, path);
    case Kind::Unreadable:
        return tree.write(relative, bytes) && ::chmod(native.constData(), 0) == 0;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestBadFiles : public QObject
{
    Q_OBJECT

    struct Window {
        RecordingSoundCue sound;
        RecordingDialogs dialogs;
        Fosdat fosdat{sound, dialogs};

        QString viewText() const { return fosdat.catalogueView()->toPlainText(); }
        QString panelText() const
        {
            return fosdat.findChild<QPlainTextEdit *>("Text2")->toPlainText();
        }
        void choose(const QString &caption)
        {
            auto *combo = fosdat.findChild<QComboBox *>("Combo1");
            const int index = combo->findText(caption);
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        }
        void clickLabel(const char *name)
        {
            auto *label = fosdat.findChild<QWidget *>(name);
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, 4));
        }
    };

    static bool asRoot() { return ::geteuid() == 0; }

private slots:
    void badCatalogue_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown"); // what the view shows after choosing the group

        const QString previous = "FORAM catalogue";
        QTest::newRow("plain text")
            << Kind::Bytes << QByteArray("Acrorhabdammina K (Camp)\r\n") << previous;
        QTest::newRow("empty") << Kind::Bytes << QByteArray() << previous;
        QTest::newRow("binary garbage")
            << Kind::Bytes << QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe{\\rtf", 17) << previous;
        QTest::newRow("truncated")
            << Kind::Bytes << QByteArray("{\\rtf1\\ansi {\\b Abcd") << "Abcd";
        QTest::newRow("unbalanced") << Kind::Bytes << QByteArray("{\\rtf1 a}}}}b}") << "a";
        QTest::newRow("200 MB") << Kind::Sparse << QByteArray() << previous;
        QTest::newRow("directory") << Kind::Directory << QByteArray() << previous;
        QTest::newRow("FIFO") << Kind::Fifo << QByteArray() << previous;
        QTest::newRow("broken symlink") << Kind::BrokenLink << QByteArray() << previous;
        QTest::newRow("looping symlink") << Kind::LoopingLink << QByteArray() << previous;
        QTest::newRow("unreadable")
            << Kind::Unreadable << DataTree::catalogue("secret") << previous;
    }
    void badCatalogue()
    {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        if (kind == Kind::Unreadable && asRoot())
            QSKIP("file permissions do not bind root");
        DataTree tree;
        QVERIFY(tree.writeCatalogue("FORAM", "FORAM catalogue"));
        QVERIFY(place(tree, "dat/BD/SPONGE", kind, bytes));
        Window w;
        w.fosdat.loadStartupContent();
        const int cues = w.sound.count;

        w.choose("ГУБКИ");

        QCOMPARE(w.viewText(), shown);
        QCOMPARE(w.sound.count, cues + 1);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void badReferenceFileKeepsPanel_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("200 MB") << Kind::Sparse;
        QTest::newRow("directory") << Kind::Directory;
        QTest::newRow("FIFO") << Kind::Fifo;
        QTest::newRow("broken symlink") << Kind::BrokenLink;
        QTest::newRow("unreadable") << Kind::Unreadable;
    }
    void badReferenceFileKeepsPanel()
    {
        QFETCH(Kind, kind);
        if (kind == Kind::Unreadable && asRoot())
            QSKIP("file permissions do not bind root");
        DataTree tree;
        QVERIFY(tree.write("dat/BD/REFS1.txt", "1. First list\r\n"));
        QVERIFY(place(tree, "dat/BD/REFS2.txt", kind, "401. Hidden\r\n"));
        Window w;
        w.fosdat.loadStartupContent();

        w.clickLabel("Label7");

        QCOMPARE(w.fosdat.refsText(), QString("1. First list\r\n"));
        QCOMPARE(w.panelText(), QString("1. First list\n"));
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void oddReferenceBytesAreKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("NUL bytes") << QByteArray("a\0b\0", 4) << QString::fromUtf16(u"a\0b\0", 4);
        QTest::newRow("lone CR") << QByteArray("a\rb") << "a\rb";
        QTest::newRow("undefined code-page byte")
            << QByteArray("\x98\xc0") << QString::fromUtf16(u"\u0098\u0410");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void oddReferenceBytesAreKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        DataTree tree;
        QVERIFY(tree.write("dat/BD/REFS1.txt", "first"));
        QVERIFY(tree.write("dat/BD/REFS3.txt", bytes));
        Window w;
        w.fosdat.loadStartupContent();

        w.clickLabel("Label8");

        // One character per byte, nothing converted.
        QCOMPARE(w.fosdat.refsText().size(), bytes.size());
        QCOMPARE(w.fosdat.refsText(), text);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    // The panel would take gigabytes and minutes for these: it shows their
    // start and says that it is only a part.
    void hugeReferenceFileIsCutShort_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("times");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("lines"); // shown in the panel, the closing line included
        const QByteArray reference =
            "123. \xc8\xe2\xe0\xed\xee\xe2 \xc8.\xc8. 1975. Title // Journal.";
        QTest::newRow("50 MB of references")
            << reference + "\r\n"
            << 50 * 1024 * 1024 / (reference.size() + 2)
            << QString::fromUtf8("123. Иванов И.И. 1975. Title // Journal.")
            << int(fosdat::data::ReferenceListBudget.lines) + 1;
        QTest::newRow("10 MB of blank lines") << QByteArray("\r\n") << 5 * 1024 * 1024 << QString()
                                              << int(fosdat::data::ReferenceListBudget.lines) + 1;
        QTest::newRow("60 MB in one line")
            << reference << 60 * 1024 * 1024 / reference.size()
            << QString::fromLatin1(reference.repeated(1 + 10'000 / reference.size()))
                   .left(fosdat::data::ReferenceListBudget.lineCharacters)
                   .replace(QString::fromLatin1("\xc8\xe2\xe0\xed\xee\xe2 \xc8.\xc8."),
                            QString::fromUtf8("Иванов И.И."))
            << 2;
    }
    void hugeReferenceFileIsCutShort()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, times);
        QFETCH(QString, firstLine);
        QFETCH(int, lines);
        DataTree tree;
        QVERIFY(tree.write("dat/BD/REFS1.txt", line.repeated(times)));
        Window w;
        w.fosdat.loadStartupContent();
        const auto *panel = w.fosdat.findChild<QPlainTextEdit *>("Text2");
        QCOMPARE(panel->blockCount(), lines);
        QCOMPARE(panel->document()->firstBlock().text(), firstLine);
        QCOMPARE(panel->document()->lastBlock().text(),
                 QStringLiteral("Файл слишком велик: показана его часть"));
        QCOMPARE(QString(w.fosdat.refsText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                 w.panelText());
    }

    void missingOrBrokenSoundChangesNothingElse()
    {
        DataTree tree;
        QVERIFY(tree.writeCatalogue("FORAM", "FORAM catalogue"));
        QVERIFY(tree.writeCatalogue("SPONGE", "SPONGE catalogue"));
        QVERIFY(tree.write("dat/sound/menu.wav", "RIFF\x01\0\0\0WAVEjunk"));
        Window w;
        w.fosdat.loadStartupContent();
        w.choose("ГУБКИ");
        QCOMPARE(w.viewText(), QString("SPONGE catalogue"));
    }
};

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
