#pragma once

#include "RtfReader.h"

#include <QString>
#include <QTextDocument>
#include <memory>

// Reads the catalogue file at `path` into a new document for the catalogue
// view; null when the file is missing, not a readable regular file of the
// data set's size, or not RTF. `progress` is told how far the reading has
// come, and may stop it. The document holds as much of the catalogue as the
// view can lay out at its largest zoom; one that holds only its start ends
// with a line that says how much of it is shown.
std::unique_ptr<QTextDocument> readCatalogue(const QString &path,
                                             const fosdat::rtf::ReadProgress &progress = {});

// Whether `document`, made by readCatalogue(), holds only the start of its catalogue.
bool isPartOfCatalogue(const QTextDocument &document);
// Whether `document`, made by readCatalogue(), shows some of its text
// without the formatting its file gives it: where the file changes format
// more often than the view can lay out.
bool isPartlyPlain(const QTextDocument &document);

// The last line of a catalogue shown in part, for the characters shown and
// those of the file.
QString partShownLine(qint64 shownCharacters, qint64 characters);

// The last line of a text shown in part where how much is shown is not known.
inline constexpr QStringView PartShownNotice = u"Файл слишком велик: показана его часть";
