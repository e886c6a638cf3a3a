// Prints the ranges of the genera of a data set, or the counts per stage, as
// CSV for R, Python and spreadsheets:
//   fosdat-ranges [--stages [--bins KIND]] [--level LEVEL] [--group CAPTION]... DIR
// It reads DIR/dat/BD through the catalogue model, as the windows do (the
// text of each catalogue, no document, and the genus entries read from it),
// and the user's time scale file when there is one. The rows are written as
// they are made.
#include "Bins.h"
#include "CatalogueEntries.h"
#include "CatalogueTimeScale.h"
#include "DataFiles.h"
#include "GroupTable.h"
#include "RangeTables.h"
#include "StageCounts.h"
#include "Taxa.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace fosdat;
using namespace Qt::StringLiterals;

namespace
{

constexpr int Failed = 1;    // some catalogue could not be read, or the output not written
constexpr int NoDataSet = 2; // also a wrong command line

void warn(const QString &message)
{
    std::fprintf(stderr, "fosdat-ranges: %s\n", qPrintable(message));
}

QString fileName(QStringView dataPath)
{
    return dataPath.mid(dataPath.lastIndexOf(u'\\') + 1).toString();
}

// The rows of the group table a --group names, by caption or file name; all
// rows when none is given.
std::optional<QList<int>> chosenGroups(const QStringList &names)
{
    QList<int> rows;
    for (const QString &name : names) {
        int found = -1;
        for (int row = 0; row < int(data::GroupTable.size()) && found < 0; ++row) {
            const data::Group &group = data::GroupTable[row];
            if (name.compare(group.caption, Qt::CaseInsensitive) == 0 ||
                name.compare(fileName(group.catalogPath), Qt::CaseInsensitive) == 0)
                found = row;
        }
        if (found < 0) {
            warn(u"no group '%1': give a caption such as БРАХИОПОДЫ1, or a file name such as "
                 u"BRACH1"_s.arg(name));
            return std::nullopt;
        }
        if (!rows.contains(found))
            rows.append(found);
    }
    if (rows.isEmpty()) {
        for (int row = 0; row < int(data::GroupTable.size()); ++row)
            rows.append(row);
    }
    return rows;
}

// The shipped scale, with the user's file over it when there is one; what is
// wrong in that file is said, and the rest of it used.
std::shared_ptr<const strata::TimeScale> timeScale()
{
    const catalogue::TimeScaleChoice choice = catalogue::chooseTimeScale();
    if (!choice.fileError.isEmpty())
        warn(choice.path + u": "_s + choice.fileError);
    for (const strata::ScaleError &error : choice.errors)
        warn(u"%1:%2: %3"_s.arg(choice.path).arg(error.line).arg(error.message));
    return choice.scale;
}

// The chosen catalogues; what could not be read, or not whole, is said.
catalogue::CataloguesPtr readCatalogues(const QDir &dataSet, const QList<int> &rows, int *failed)
{
    catalogue::CatalogueReader::Groups chosen;
    for (int row : rows)
        chosen.set(std::size_t(row));
    catalogue::CataloguesPtr texts = catalogue::CatalogueReader().refresh(dataSet.path(), chosen);
    for (int row : rows) {
        const QString path = data::nativePath(data::GroupTable[row].catalogPath, dataSet);
        const catalogue::CatalogueText &text = texts->at(row);
        if (!text.read) {
            warn(path + u": cannot be read, or is not an RTF file"_s);
            ++*failed;
        } else if (text.isCut()) {
            warn(u"%1: too large to be read whole beside the other catalogues: its last %2 "
                 u"characters (%3 paragraphs) are left out"_s.arg(path)
                     .arg(text.leftOut)
                     .arg(text.leftOutParagraphs));
        }
    }
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Prints the ranges of the genera in the catalogues of DIR/dat/BD as CSV, one row per "
        u"genus entry, or with --stages the counts per stage of the time scale."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption stages(u"stages"_s, u"One row per stage: the counts."_s);
    const QCommandLineOption group(
        u"group"_s, u"Only the group <CAPTION> (or file name); may be repeated."_s, u"CAPTION"_s);
    const QCommandLineOption noUncertain(u"no-uncertain"_s, u"Do not count ranges with a '?'."_s);
    const QCommandLineOption periodOnly(u"period-only"_s,
                                        u"Count ranges given by their period alone."_s);
    const QCommandLineOption noLiving(u"no-living"_s, u"Do not count genera living today."_s);
    const QCommandLineOption bins(
        u"bins"_s,
        u"With --stages, one row per bin of KIND: units, stages, epochs, periods or 10myr."_s,
        u"KIND"_s);
    const QCommandLineOption level(
        u"level"_s,
        u"Count the taxa of LEVEL: genus (the default), family or order; a family's range is "
        u"the union of its counted genera's in a group."_s,
        u"LEVEL"_s);
    parser.addOptions({stages, group, noUncertain, periodOnly, noLiving, bins, level});
    parser.addPositionalArgument(u"DIR"_s, u"The folder that holds dat/."_s);
    const bool parsed = parser.parse(app.arguments());
    if (parsed && (parser.isSet(help) || parser.isSet(u"help-all"_s))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return std::fflush(stdout) == 0 ? 0 : Failed;
    }
    if (!parsed || parser.positionalArguments().size() != 1) {
        warn(parser.errorText().isEmpty() ? u"give one data set folder"_s : parser.errorText());
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return NoDataSet;
    }

    const QDir dataSet(parser.positionalArguments().front());
    const QString catalogues = data::nativePath(u"dat\\BD", dataSet);
    if (!QFileInfo(catalogues).isDir()) {
        warn(u"no data set in %1: %2 is not a folder"_s.arg(dataSet.path(), catalogues));
        return NoDataSet;
    }
    const std::optional<strata::BinKind> binKind =
        strata::binKindFromKey(parser.isSet(bins) ? parser.value(bins) : u"stages"_s);
    if (!binKind) {
        warn(u"no bins '%1': give units, stages, epochs, periods or 10myr"_s.arg(
            parser.value(bins)));
        return NoDataSet;
    }
    const std::optional<strata::TaxonLevel> taxonLevel =
        strata::taxonLevelFromKey(parser.isSet(level) ? parser.value(level) : u"genus"_s);
    if (!taxonLevel) {
        warn(u"no level '%1': give genus, family or order"_s.arg(parser.value(level)));
        return NoDataSet;
    }
    const std::optional<QList<int>> rows = chosenGroups(parser.values(group));
    if (!rows)
        return NoDataSet;
    const std::shared_ptr<const strata::TimeScale> scale = timeScale();
    int unread = 0;
    const catalogue::CatalogueEntries read(readCatalogues(dataSet, *rows, &unread), scale);
    if (unread == rows->size()) {
        warn(u"no catalogue of the data set in %1 could be read"_s.arg(dataSet.path()));
        return NoDataSet;
    }

    const strata::CountOptions options{!parser.isSet(noUncertain), parser.isSet(periodOnly),
                                       !parser.isSet(noLiving)};
    const QList<strata::GenusEntry> taxa = strata::taxaOf(read.entries(), *taxonLevel, options);
    const strata::Bins binned(*scale, *binKind, strata::writtenUnits(taxa, *scale, {}, options));
    const strata::StageCounts counts(taxa, binned, {}, options);
    QStringList captions;
    for (const data::Group &g : data::GroupTable)
        captions.append(g.caption.toString());
    const auto writeTable = [&](QIODevice &out) {
        if (!parser.isSet(stages))
            return strata::writeGenusTable(out, taxa, counts, *scale, captions);
        return parser.isSet(bins) ? strata::writeBinTable(out, counts, *scale, binned)
                                  : strata::writeStageTable(out, counts, *scale);
    };
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || !writeTable(out) || !out.flush()) {
        warn(u"the table could not be written"_s);
        return Failed;
    }
    return unread > 0 || !read.texts()->cut().isEmpty() ? Failed : 0;
}
