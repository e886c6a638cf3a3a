#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

// A scratch data set on disk that becomes the current directory for the
// lifetime of the object, as the program looks up `dat` from there.
class DataTree
{
public:
    DataTree() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~DataTree() { QDir::setCurrent(m_previous); }
    DataTree(const DataTree &) = delete;
    DataTree &operator=(const DataTree &) = delete;

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

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
    QString m_previous;
    QTemporaryDir m_dir;
};
