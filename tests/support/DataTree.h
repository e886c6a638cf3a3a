#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

// A scratch data set on disk that becomes the current directory for the
// lifetime of the object, as the program looks up `dat` from there.
class DataTree
{
public:
    DataTree() : m_previous(QDir::currentPath()), m_root(m_dir.path()) { QDir::setCurrent(m_root); }
    // The data set in a folder of the scratch folder named `folderName` in the
    // file system's own bytes, which need not be UTF-8 ("БАЗА" in
    // Windows-1251, as media from Windows give it). No QString can name such
    // a folder: path() then gives paths relative to it, the current directory.
    explicit DataTree(const QByteArray &folderName) : m_previous(QDir::currentPath())
    {
        const QByteArray folder = QFile::encodeName(m_dir.path()) + '/' + folderName;
        if (::mkdir(folder.constData(), 0755) != 0 || ::chdir(folder.constData()) != 0)
            qFatal("cannot enter the scratch folder %s", folder.constData());
    }
    ~DataTree()
    {
        QDir::setCurrent(m_previous);
        // Qt leaves out names that are not UTF-8 when it lists a folder, so
        // QTemporaryDir alone would leave them behind.
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(m_dir.path()).toStdString(), ignored);
    }
    DataTree(const DataTree &) = delete;
    DataTree &operator=(const DataTree &) = delete;

    QString path(const QString &relative) const
    {
        return m_root.isEmpty() ? relative : m_root + u'/' + relative;
    }

    bool write(const QString &relative, const QByteArray &bytes) const
    {
        const QString target = path(relative);
        QDir().mkpath(QFileInfo(target).path());
        QFile file(target);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }

    // A one-paragraph RTF catalogue whose text is `text` (ASCII).
    static QByteArray catalogue(const QByteArray &text)
    {
        return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}"
               "\\pard\\f0\\fs20 " +
               text + "\\par\n}";
    }

    bool writeCatalogue(const QString &name, const QByteArray &text) const
    {
        return write(QStringLiteral("dat/BD/") + name, catalogue(text));
    }

    bool remove(const QString &relative) const { return QFile::remove(path(relative)); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
    QString m_root; // empty: the current directory, named only by its bytes
};
