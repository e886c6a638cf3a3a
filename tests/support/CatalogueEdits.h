#pragma once

#include "support/DataTree.h"
#include "support/RtfPicture.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

// A change to a catalogue file of a scratch data set, as a test writes it:
// "NAME=text": a catalogue of that RTF body ("<pict>" a picture); "NAME=!bytes":
// a file that is not RTF; "NAME-": the file removed; "NAME~text": rewritten
// to the same size with its modification time kept. False when it failed.
inline bool editCatalogue(const DataTree &tree, const QString &edit)
{
    const qsizetype sign = edit.indexOf(QRegularExpression(QStringLiteral("[=~-]")));
    const QString path = QStringLiteral("dat/BD/") + edit.left(sign);
    const QByteArray body = edit.mid(sign + 1).toUtf8().replace("<pict>", rtfPicture());
    switch (edit.at(sign).unicode()) {
    case u'-':
        return tree.remove(path);
    case u'~': {
        const QDateTime modified = QFileInfo(tree.path(path)).lastModified();
        QFile file(tree.path(path));
        return tree.write(path, DataTree::catalogue(body)) && file.open(QIODevice::ReadWrite) &&
               file.setFileTime(modified, QFileDevice::FileModificationTime);
    }
    default:
        return tree.write(path, body.startsWith('!') ? body.mid(1) : DataTree::catalogue(body));
    }
}
