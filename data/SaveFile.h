#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace fosdat::data
{

struct SaveResult {
    bool ok = false;
    QString errorString; // why the save failed, in Russian, for the user
};

// Writes `bytes` to `path`, a path as a file dialog gives it (matched to the
// file system's own bytes, see fileSystemPath()). A symbolic link is saved
// through and stays: the file it names is written, or created when it is not
// there yet; a link that another user left in a shared sticky folder (such
// as /tmp) is not followed.
//
// The new content is written beside the file and renamed over it, so that a
// failed save leaves an existing file exactly as it was; the new file takes
// the old one's owner (where the user may), group, mode and extended
// attributes. Where the folder does not let a file be created or renamed
// (a read-only folder, another user's file in a sticky folder such as /tmp)
// but the file itself is writable, and for a file with other hard links,
// the content is written into the file in place, only once it is sure to
// fit; a write that then fails says that the file may be incomplete. The
// file written in place must be the very file checked before: a link or
// another file put in its place meanwhile is refused and left untouched.
//
// A read-only file, a directory, a device, FIFO or socket is refused.
//
// `beforeWriteInPlace`, when set, runs between the check of a file and its
// opening for a write in place: tests change the file there, as another
// program could.
SaveResult saveFile(const QString &path, const QByteArray &bytes,
                    const std::function<void()> &beforeWriteInPlace = {});

} // namespace fosdat::data
