// Saving replaces a file whole or not at all.
#include "SaveFile.h"
#include "support/FileSizeLimit.h"
#include "support/OtherUser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace fosdat::data;

namespace
{

const QByteArray Old = "the old content";
const QByteArray New = "{\\rtf1 the new content}";

// Where a save meets the file system's rules.
enum class Corner {
    ReadOnlyFolder,        // a writable file in a folder that refuses new files
    ReadOnlyFolderAndFile, // the file is read-only too
    ReadOnlyFolderNewFile, // no file yet
    StickyFolder,          // another user's world-writable file in a sticky folder
    StickyFolderAsRoot,    // root saving another user's file in a sticky folder
    HardLink,              // a file with a second name
    HardLinkNoRoom,        // the same with no room for the new content
    NonUtf8Name,           // "x\xFF.txt", a name from a Windows code page
    AmbiguousName,         // "x\xFF.txt" beside "x\xFE.txt": the same text
    NonUtf8CurrentFolder,  // a new file below a current folder named in Windows-1251
    ExtendedAttributes,    // user.* attributes
    GroupAndModeAsRoot,    // another user's file of another group, mode 0640
    GroupAndModeAsNobody,  // a file of the saver's other group, mode 0640
    LinkToFile,            // a symbolic link to the file, beside it
    DanglingLink,          // a symbolic link to a file not there yet
    OtherUsersLink,        // nobody's link to a file not there yet, in a sticky folder
};
// What takes the place of a file between its check and its write in place.
enum class Swap { SymbolicLink, HardLink, AnotherFile };
// Who saves: the test's own user, root only, or nobody (a child process of root).
enum class Saver { Anyone, Root, Nobody };

// A corner on disk.
struct Setup {
    QByteArray folder;         // where the file is
    QByteArray file;           // the file, spelled as the file system spells it
    QString path;              // what the save is given, as a file dialog gives it
    QByteArray otherName;      // another name in the folder
    QByteArray link;           // a symbolic link to the file, saved to
    std::vector<gid_t> groups; // nobody's supplementary groups
};

std::optional<QByteArray> contentsOf(const QByteArray &path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle))
        return std::nullopt;
    return file.readAll();
}

bool writeBytes(const QByteArray &path, const QByteArray &bytes, mode_t mode)
{
    QFile file;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFile::AutoCloseHandle) &&
           file.write(bytes) == bytes.size() && ::fchmod(fd, mode) == 0;
}

struct stat statOf(const QByteArray &path)
{
    struct stat info {
    };
    ::stat(path.constData(), &info);
    return info;
}

std::set<std::string> entriesOf(const QByteArray &folder)
{
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder.toStdString()))
        names.insert(entry.path().filename().string());
    return names;
}

// How a corner's folder and file are made.
struct Layout {
    mode_t folderMode = 0755;
    mode_t fileMode = 0644; // 0: no file
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
};

Layout layoutOf(Corner corner, const OtherUser &nobody, gid_t users)
{
    Layout layout;
    switch (corner) {
    case Corner::ReadOnlyFolder:
    case Corner::ReadOnlyFolderAndFile:
        layout = {0555, corner == Corner::ReadOnlyFolder ? 0644u : 0444u, nobody.uid};
        break;
    case Corner::ReadOnlyFolderNewFile:
        layout = {0555, 0};
        break;
    case Corner::StickyFolder:
        layout = {01777, 0666};
        break;
    case Corner::StickyFolderAsRoot:
        layout = {01777, 0666, nobody.uid};
        break;
    case Corner::NonUtf8CurrentFolder:
    case Corner::DanglingLink:
        layout.fileMode = 0;
        break;
    case Corner::OtherUsersLink:
        layout = {01777, 0, nobody.uid};
        break;
    case Corner::GroupAndModeAsRoot:
    case Corner::GroupAndModeAsNobody:
        layout = {0755, 0640, nobody.uid, users};
        break;
    default:
        break;
    }
    return layout;
}

// Names the file `setup.folder` holds, and the other names beside it.
QString nameFiles(Corner corner, Setup &setup)
{
    const QByteArray folder = setup.folder;
    setup.file = folder + "/old.txt";
    if (corner == Corner::HardLink || corner == Corner::HardLinkNoRoom)
        setup.otherName = folder + "/other.txt";
    if (corner == Corner::NonUtf8Name || corner == Corner::AmbiguousName)
        setup.file = folder + "/x\xFF.txt";
    if (corner == Corner::AmbiguousName)
        setup.otherName = folder + "/x\xFE.txt";
    if (corner == Corner::NonUtf8CurrentFolder) {
        // "БАЗА" and "ДАТА" in Windows-1251: the same text once decoded.
        ::mkdir((folder + "/\xC4\xC0\xD2\xC0").constData(), 0755);
        setup.folder = folder + "/\xC1\xC0\xC7\xC0";
        setup.file = setup.folder + "/text.txt";
        if (::mkdir(setup.folder.constData(), 0755) != 0 || ::chdir(setup.folder.constData()) != 0)
            return QStringLiteral("cannot enter the folder");
        setup.path = QDir::currentPath() + QStringLiteral("/text.txt");
    }
    if (corner == Corner::LinkToFile || corner == Corner::DanglingLink ||
        corner == Corner::OtherUsersLink) {
        if (corner != Corner::LinkToFile)
            setup.file = folder + "/new.txt";
        setup.link = folder + "/link.txt";
        setup.path = QFile::decodeName(setup.link);
    }
    if (setup.path.isEmpty())
        setup.path = QFile::decodeName(setup.file);
    return {};
}

// Builds `corner` in `setup.folder`; a reason when this machine cannot show it.
QString prepare(Corner corner, Setup &setup)
{
    const std::optional<OtherUser> nobody = OtherUser::nobody();
    const group *users = ::getgrnam("users");
    if (!nobody || !users)
        return QStringLiteral("no user nobody or group users");
    const Layout layout = layoutOf(corner, *nobody, users->gr_gid);
    if (const QString failure = nameFiles(corner, setup); !failure.isEmpty())
        return failure;
    setup.groups = {users->gr_gid};
    if (corner == Corner::GroupAndModeAsNobody &&
        ::chown(setup.folder.constData(), nobody->uid, -1) != 0)
        return QStringLiteral("cannot give the folder away");
    if (layout.fileMode != 0 && (!writeBytes(setup.file, Old, layout.fileMode) ||
                                 ::chown(setup.file.constData(), layout.owner, layout.group) != 0))
        return QStringLiteral("cannot write the old file as that user");
    if (corner == Corner::HardLink || corner == Corner::HardLinkNoRoom)
        ::link(setup.file.constData(), setup.otherName.constData());
    if (corner == Corner::AmbiguousName)
        writeBytes(setup.otherName, Old, 0644);
    if (!setup.link.isEmpty() &&
        (::symlink(setup.file.mid(setup.folder.size() + 1).constData(), setup.link.constData()) !=
             0 ||
         ::lchown(setup.link.constData(), layout.owner, layout.group) != 0))
        return QStringLiteral("cannot make the link");
    if (corner == Corner::ExtendedAttributes &&
        ::setxattr(setup.file.constData(), "user.fosdat.note", "kept", 4, 0) != 0)
        return QStringLiteral("the scratch folder's file system keeps no user.* attributes");
    ::chmod(setup.folder.constData(), layout.folderMode);
    return {};
}

// Saves the new content as `saver`; a child process's failure is a failed save.
SaveResult saveAs(Saver saver, Corner corner, const Setup &setup)
{
    if (saver != Saver::Nobody) {
        std::optional<FileSizeLimit> limit;
        if (corner == Corner::HardLinkNoRoom)
            limit.emplace(4);
        return saveFile(setup.path, New);
    }
    const std::optional<QByteArray> reply = OtherUser::nobody()->run(
        [&setup] {
            const SaveResult result = saveFile(setup.path, New);
            return (result.ok ? "1" : "0") + result.errorString.toUtf8();
        },
        setup.groups);
    if (!reply || reply->isEmpty())
        return {false, QStringLiteral("the child process failed")};
    return {reply->startsWith('1'), QString::fromUtf8(reply->mid(1))};
}

// A scratch folder that nobody may enter, removed whole with whatever names
// and modes it holds; the current directory is restored.
class Scratch
{
public:
    Scratch() : m_previous(QDir::currentPath())
    {
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    }
    ~Scratch()
    {
        QDir::setCurrent(m_previous);
        std::error_code ignored;
        const std::filesystem::path root = QFile::encodeName(m_dir.path()).toStdString();
        for (const auto &entry : std::filesystem::recursive_directory_iterator(root, ignored))
            ::chmod(entry.path().c_str(), 0755); // a read-only folder, for a user other than root
        std::filesystem::remove_all(root, ignored);
    }
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;

    QByteArray folder() const { return QFile::encodeName(m_dir.path()) + "/folder"; }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

} // namespace

Q_DECLARE_METATYPE(Corner)
Q_DECLARE_METATYPE(Saver)
Q_DECLARE_METATYPE(Swap)

class TestSaveFile : public QObject
{
    Q_OBJECT

private slots:
    void saveReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("файл.rtf"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(50'000, 'x'));
        old.close();
        const SaveResult result = saveFile(path, "{\\rtf1 new}");
        QVERIFY(result.ok);
        QVERIFY(result.errorString.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("{\\rtf1 new}"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"файл.rtf"});
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("smaller than a write buffer") << qsizetype(1000);
        QTest::newRow("larger than a write buffer") << qsizetype(1'000'000);
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(qsizetype, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.rtf"));
        const QByteArray before = "the old file";
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
        old.close();
        SaveResult result;
        {
            const FileSizeLimit limit(size / 2);
            result = saveFile(path, QByteArray(size, 'n'));
        }
        QVERIFY(!result.ok);
        QVERIFY(!result.errorString.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.rtf"});
    }

    // A save as the system allows it: beside and renamed where the folder lets
    // it, in place where only the file does or where other names share the
    // file, and the file keeps its owner, group, mode and attributes.
    void saveCorners_data()
    {
        QTest::addColumn<Corner>("corner");
        QTest::addColumn<Saver>("saver");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("inPlace"); // the same inode afterwards
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only folder")
            << Corner::ReadOnlyFolder << Saver::Nobody << true << true << QString();
        QTest::newRow("read-only folder and file")
            << Corner::ReadOnlyFolderAndFile << Saver::Nobody << false << true
            << QStringLiteral("файл защищён от записи: нет прав доступа");
        QTest::newRow("read-only folder, new file")
            << Corner::ReadOnlyFolderNewFile << Saver::Nobody << false << false
            << QStringLiteral("папка не позволяет создать в ней файл: нет прав доступа");
        QTest::newRow("sticky folder")
            << Corner::StickyFolder << Saver::Nobody << true << true << QString();
        QTest::newRow("sticky folder, root")
            << Corner::StickyFolderAsRoot << Saver::Root << true << false << QString();
        QTest::newRow("hard link")
            << Corner::HardLink << Saver::Anyone << true << true << QString();
        QTest::newRow("hard link, no room")
            << Corner::HardLinkNoRoom << Saver::Anyone << false << true
            << QStringLiteral("у файла есть другие имена (жёсткие ссылки), а записать его на "
                              "месте нельзя: файл слишком большой. Файл не изменён.");
        QTest::newRow("non-UTF-8 name")
            << Corner::NonUtf8Name << Saver::Anyone << true << false << QString();
        QTest::newRow("ambiguous non-UTF-8 name")
            << Corner::AmbiguousName << Saver::Anyone << false << true
            << QStringLiteral("в папке несколько файлов");
        QTest::newRow("non-UTF-8 current folder")
            << Corner::NonUtf8CurrentFolder << Saver::Anyone << true << false << QString();
        QTest::newRow("extended attributes")
            << Corner::ExtendedAttributes << Saver::Anyone << true << false << QString();
        QTest::newRow("group and mode, root")
            << Corner::GroupAndModeAsRoot << Saver::Root << true << false << QString();
        QTest::newRow("group and mode, nobody")
            << Corner::GroupAndModeAsNobody << Saver::Nobody << true << false << QString();
        QTest::newRow("link to the file")
            << Corner::LinkToFile << Saver::Anyone << true << false << QString();
        QTest::newRow("link to a file not there yet")
            << Corner::DanglingLink << Saver::Anyone << true << false << QString();
        QTest::newRow("another user's link in a sticky folder")
            << Corner::OtherUsersLink << Saver::Root << false << false
            << QStringLiteral("это символическая ссылка другого пользователя в общей папке");
    }
    void saveCorners()
    {
        QFETCH(Corner, corner);
        QFETCH(Saver, saver);
        QFETCH(bool, saved);
        QFETCH(bool, inPlace);
        QFETCH(QString, reason);
        if (saver != Saver::Anyone && ::geteuid() != 0)
            QSKIP("root, or becoming another user, is needed to show this");
        const Scratch scratch;
        Setup setup;
        setup.folder = scratch.folder();
        QVERIFY(::mkdir(setup.folder.constData(), 0755) == 0);
        if (const QString unavailable = prepare(corner, setup); !unavailable.isEmpty())
            QSKIP(qPrintable(unavailable));
        struct stat before {
        };
        const bool existed = ::stat(setup.file.constData(), &before) == 0;
        std::set<std::string> entries = entriesOf(setup.folder);

        const SaveResult result = saveAs(saver, corner, setup);

        QCOMPARE(result.ok, saved);
        QVERIFY2(saved ? result.errorString.isEmpty() : result.errorString.startsWith(reason),
                 qPrintable(result.errorString));
        QCOMPARE(contentsOf(setup.file), saved     ? std::optional(New)
                                         : existed ? std::optional(Old)
                                                   : std::nullopt);
        if (saved && !existed)
            entries.insert(setup.file.mid(setup.folder.size() + 1).toStdString());
        QVERIFY(entriesOf(setup.folder) == entries); // nothing beside, nothing lost
        struct stat link {
        };
        QVERIFY(setup.link.isEmpty() ||
                (::lstat(setup.link.constData(), &link) == 0 && S_ISLNK(link.st_mode)));
        if (!existed)
            return;
        // The file's identity: the same owner, group and mode, in place or not.
        const struct stat after = statOf(setup.file);
        QCOMPARE(after.st_ino == before.st_ino, inPlace);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode);
        if (!setup.otherName.isEmpty()) {
            const bool sameFile = corner == Corner::HardLink;
            QCOMPARE(contentsOf(setup.otherName), std::optional(sameFile ? New : Old));
        }
        if (corner == Corner::ExtendedAttributes) {
            char value[16] = {};
            QCOMPARE(::getxattr(setup.file.constData(), "user.fosdat.note", value, sizeof value),
                     ssize_t(4));
            QCOMPARE(QByteArray(value), QByteArray("kept"));
        }
    }

    // A write in place goes into the file checked or nowhere: whatever is put
    // in its place after the check is refused, and neither it nor the file it
    // leads to is touched.
    void swappedFileIsRefused_data()
    {
        QTest::addColumn<Swap>("swap");
        QTest::newRow("symbolic link to another file") << Swap::SymbolicLink;
        QTest::newRow("hard link to another file") << Swap::HardLink;
        QTest::newRow("another file") << Swap::AnotherFile;
    }
    void swappedFileIsRefused()
    {
        QFETCH(Swap, swap);
        const QTemporaryDir dir;
        const QByteArray file = QFile::encodeName(dir.filePath(QStringLiteral("old.txt")));
        const QByteArray other = file + ".other", victim = file + ".victim";
        // A second name makes the save write in place.
        QVERIFY(writeBytes(file, Old, 0644) && ::link(file.constData(), other.constData()) == 0 &&
                writeBytes(victim, "victim", 0644));

        const SaveResult result = saveFile(QFile::decodeName(file), New, [&] {
            ::unlink(file.constData());
            QVERIFY(swap == Swap::SymbolicLink
                        ? ::symlink(victim.constData(), file.constData()) == 0
                    : swap == Swap::HardLink ? ::link(victim.constData(), file.constData()) == 0
                                             : writeBytes(file, "victim", 0644));
        });

        QVERIFY(!result.ok);
        QVERIFY2(result.errorString.endsWith(
                     QStringLiteral("на месте файла оказался другой файл. Файл не изменён.")),
                 qPrintable(result.errorString));
        for (const QByteArray &name : {file, other, victim})
            QCOMPARE(contentsOf(name), std::optional<QByteArray>(name == other ? Old : "victim"));
    }

    void saveRefusesSpecialFiles()
    {
        const SaveResult result = saveFile(QStringLiteral("/dev/null"), "{\\rtf1}");
        QVERIFY(!result.ok);
        QVERIFY(!result.errorString.isEmpty());
        QVERIFY(!QFileInfo(QStringLiteral("/dev/null")).isFile());
    }
};

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
