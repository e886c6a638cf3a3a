#include "SampleTree.h"

#include "Catalogue.h"
#include "CatalogueWriter.h"
#include "ClickSound.h"
#include "DataPaths.h"
#include "GenusNames.h"
#include "GroupProfiles.h"
#include "GroupTable.h"
#include "Random.h"
#include "References.h"
#include "Truth.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>

namespace fosdat::sampledata
{

using data::Group;
using data::GroupTable;

using namespace Qt::StringLiterals;

namespace
{

constexpr std::uint64_t Seed = 0x666f73646174; // any fixed value will do
constexpr int ReferencesPerList = 400;
constexpr int ReferenceLists = ReferenceCount / ReferencesPerList;

// Salts that give each part of the data set its own random stream.
enum Stream : std::uint64_t { Catalogues = 1, ReferenceStream, SoundStream, ScaledStream };

QString withoutTrailingDigits(QStringView caption)
{
    while (!caption.isEmpty() && caption.back().isDigit())
        caption.chop(1);
    return caption.toString();
}

// The heading of a group's catalogue: its caption, and for a group spread
// over several files which part this file is.
QString heading(std::size_t row)
{
    const QString name = withoutTrailingDigits(GroupTable[row].caption);
    const auto sameGroup = [&](const Group &group) {
        return withoutTrailingDigits(group.caption) == name;
    };
    const auto parts = std::count_if(GroupTable.begin(), GroupTable.end(), sameGroup);
    if (parts == 1)
        return name;
    const auto part = std::count_if(GroupTable.begin(), GroupTable.begin() + row, sameGroup) + 1;
    return name + u" \u2014 часть "_s + QString::number(part);
}

QByteArray encodeAnsi(const QString &text)
{
    QStringEncoder encode("windows-1251");
    QByteArray bytes = encode(text);
    if (encode.hasError())
        qFatal("reference text outside code page 1251"); // a slip in the word lists
    return bytes;
}

std::size_t largestGroupRow()
{
    std::size_t largest = 0;
    for (std::size_t row = 1; row < GroupTable.size(); ++row) {
        if (groupProfile(row).genera > groupProfile(largest).genera)
            largest = row;
    }
    return largest;
}

} // namespace

QList<Catalogue> sampleCatalogues()
{
    QList<Catalogue> built;
    GenusNames names;
    QSet<QString> familyNames;
    CatalogueBuilder builder(names, familyNames);
    Random catalogues = Random(Seed).fork(Catalogues);
    for (std::size_t row = 0; row < GroupTable.size(); ++row) {
        Random random = catalogues.fork(row);
        built.append(builder.build(groupProfile(row), heading(row), random));
    }
    return built;
}

QList<SampleFile> sampleTree()
{
    QList<SampleFile> files;
    const QList<Catalogue> catalogues = sampleCatalogues();
    QList<QList<int>> genusLines(catalogues.size());
    for (std::size_t row = 0; row < GroupTable.size(); ++row) {
        files.append({data::slashPath(GroupTable[row].catalogPath),
                      writeCatalogue(catalogues.at(qsizetype(row)), EntryFormatting::Plain,
                                     &genusLines[qsizetype(row)])});
    }

    Random references = Random(Seed).fork(ReferenceStream);
    for (int list = 0; list < ReferenceLists; ++list) {
        const int first = list * ReferencesPerList + 1;
        const QString text = referenceList(references, first, first + ReferencesPerList - 1);
        files.append({data::slashPath(data::ReferenceListPaths.at(list)), encodeAnsi(text)});
    }

    Random sound = Random(Seed).fork(SoundStream);
    files.append({data::slashPath(data::SoundPath), clicksound::wave(sound)});
    files.append({TruthPath.toString(), truthTable(catalogues, genusLines)});
    return files;
}

Catalogue scaledCatalogueContent(int genera)
{
    Q_ASSERT(genera > 0 && genera <= MaxScaledGenera);
    const std::size_t row = largestGroupRow();
    GroupProfile profile = groupProfile(row);
    profile.genera = genera;
    GenusNames names;
    QSet<QString> familyNames;
    Random random = Random(Seed).fork(ScaledStream);
    Catalogue catalogue = CatalogueBuilder(names, familyNames).build(profile, heading(row), random);
    // Both shapes in one catalogue: the second half in the real one.
    catalogue.notesFrom = catalogue.families.size() / 2;
    return catalogue;
}

QByteArray scaledCatalogue(int genera, EntryFormatting formatting)
{
    return writeCatalogue(scaledCatalogueContent(genera), formatting);
}

QString writeFiles(const QString &directory, const QList<SampleFile> &files)
{
    const QDir base(directory);
    for (const SampleFile &file : files) {
        const QString path = base.filePath(file.path);
        if (!QDir().mkpath(QFileInfo(path).path()))
            return QStringLiteral("cannot create the folder of %1").arg(path);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size() ||
            !out.commit())
            return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    }
    return {};
}

} // namespace fosdat::sampledata
