// Prints the ranges of the genera of a data set, or the counts per stage, as
// CSV for R, Python and spreadsheets:
//   fosdat-ranges [--stages [--bins KIND]] [--group CAPTION]... DIR
// It reads DIR/dat/BD as the search window does (the text of each catalogue,
// no document), and the user's time scale file when there is one.
#include "Bins.h"
#include "DataFiles.h"
#include "GroupTable.h"
#include "RangeTables.h"
#include "RtfReader.h"
#include "StageCounts.h"
#include "TimeScale.h"
#include "UserTimeScale.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
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
strata::TimeScale timeScale()
{
    const std::optional<data::UserTimeScale> user = data::readUserTimeScale();
    if (!user)
        return strata::shippedTimeScale();
    if (!user->error.isEmpty()) {
        warn(user->path + u": "_s + user->error);
        return strata::shippedTimeScale();
    }
    strata::ScaleReading reading =
        strata::readTimeScale(strata::shippedTimeScaleText(), user->text);
    for (const strata::ScaleError &error : reading.errors)
        warn(u"%1:%2: %3"_s.arg(user->path).arg(error.line).arg(error.message));
    return std::move(reading.scale);
}

struct Reading {
    QList<strata::GenusEntry> entries;
    int unread = 0;
};

Reading readCatalogues(const QDir &dataSet, const QList<int> &rows, const strata::TimeScale &scale)
{
    Reading reading;
    QList<strata::CatalogueInput> catalogues;
    for (int row : rows) {
        const QString path = data::nativePath(data::GroupTable[row].catalogPath, dataSet);
        const std::optional<QByteArray> bytes = data::readRegularFile(path);
        const std::optional<QString> text = bytes ? rtf::readText(*bytes) : std::nullopt;
        if (!text) {
            warn(path + (bytes ? u": not an RTF file"_s : u": cannot be read"_s));
            ++reading.unread;
            continue;
        }
        catalogues.append({row, *text});
    }
    reading.entries = strata::readGenusEntries(catalogues, scale);
    return reading;
}

bool write(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
               size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Prints the ranges of the genera in the catalogues of DIR/dat/BD as CSV, one row per "
        u"genus entry, or with --stages the counts per stage of the time scale."_s);
    parser.addHelpOption();
    const QCommandLineOption stages(u"stages"_s, u"One row per stage: the counts."_s);
    const QCommandLineOption group(
        u"group"_s, u"Only the group <CAPTION> (or file name); may be repeated."_s, u"CAPTION"_s);
    const QCommandLineOption noUncertain(u"no-uncertain"_s, u"Do not count ranges with a '?'."_s);
    const QCommandLineOption periodOnly(u"period-only"_s,
                                        u"Count ranges given by their period alone."_s);
    const QCommandLineOption noLiving(u"no-living"_s, u"Do not count genera living today."_s);
    const QCommandLineOption bins(
        u"bins"_s, u"With --stages, one row per bin of KIND: stages, epochs, periods or 10myr."_s,
        u"KIND"_s);
    parser.addOptions({stages, group, noUncertain, periodOnly, noLiving, bins});
    parser.addPositionalArgument(u"DIR"_s, u"The folder that holds dat/."_s);
    if (!parser.parse(app.arguments()) || parser.positionalArguments().size() != 1) {
        warn(parser.errorText().isEmpty() ? u"give one data set folder"_s : parser.errorText());
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return NoDataSet;
    }
    if (parser.isSet(u"help"_s))
        parser.showHelp(0);

    const QDir dataSet(parser.positionalArguments().front());
    const QString catalogues = data::nativePath(u"dat\\BD", dataSet);
    if (!QFileInfo(catalogues).isDir()) {
        warn(u"no data set in %1: %2 is not a folder"_s.arg(dataSet.path(), catalogues));
        return NoDataSet;
    }
    const std::optional<strata::BinKind> binKind =
        strata::binKindFromKey(parser.isSet(bins) ? parser.value(bins) : u"stages"_s);
    if (!binKind) {
        warn(u"no bins '%1': give stages, epochs, periods or 10myr"_s.arg(parser.value(bins)));
        return NoDataSet;
    }
    const std::optional<QList<int>> rows = chosenGroups(parser.values(group));
    if (!rows)
        return NoDataSet;
    const strata::TimeScale scale = timeScale();
    const Reading reading = readCatalogues(dataSet, *rows, scale);
    if (reading.unread == rows->size()) {
        warn(u"no catalogue of the data set in %1 could be read"_s.arg(dataSet.path()));
        return NoDataSet;
    }

    const strata::CountOptions options{!parser.isSet(noUncertain), parser.isSet(periodOnly),
                                       !parser.isSet(noLiving)};
    const strata::Bins binned(scale, *binKind);
    const strata::StageCounts counts(reading.entries, binned, {}, options);
    QStringList captions;
    for (const data::Group &g : data::GroupTable)
        captions.append(g.caption.toString());
    QByteArray table;
    if (!parser.isSet(stages))
        table = strata::genusTable(reading.entries, counts, scale, captions);
    else if (parser.isSet(bins))
        table = strata::binTable(counts, scale, binned);
    else
        table = strata::stageTable(counts, scale);
    if (!write(table)) {
        warn(u"the table could not be written"_s);
        return Failed;
    }
    return reading.unread > 0 ? Failed : 0;
}
