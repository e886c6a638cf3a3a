// Writes the sample data set, or one large catalogue for benchmarks.
#include "SampleTree.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

using namespace fosdat::sampledata;

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "fosdat-sampledata: %s\n", qPrintable(message));
    return 1;
}

int writeScaled(const QString &count, const QString &path, EntryFormatting formatting)
{
    bool ok = false;
    const int genera = count.toInt(&ok);
    if (!ok || genera < 1 || genera > MaxScaledGenera)
        return fail(QStringLiteral("--scale takes a number of genera from 1 to %1, not '%2'")
                        .arg(MaxScaledGenera)
                        .arg(count));
    const QFileInfo file(path);
    const QString error =
        writeFiles(file.absolutePath(), {{file.fileName(), scaledCatalogue(genera, formatting)}});
    return error.isEmpty() ? 0 : fail(error);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes the sample data set into the folder dat below DIRECTORY, or with --scale a "
        "single catalogue FILE of N genera.");
    parser.addHelpOption();
    const QCommandLineOption scale("scale", "Write one catalogue of <N> genera to FILE.", "N");
    parser.addOption(scale);
    const QCommandLineOption rich("rich", "With --scale: entries formatted as richly as a real "
                                          "catalogue's may be, several changes of format in each.");
    parser.addOption(rich);
    parser.addPositionalArgument("DIRECTORY|FILE", "Where to write.");
    parser.process(app);

    const QStringList targets = parser.positionalArguments();
    if (targets.size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(scale))
        return writeScaled(parser.value(scale), targets.front(),
                           parser.isSet(rich) ? EntryFormatting::Rich : EntryFormatting::Plain);
    const QString error = writeFiles(targets.front(), sampleTree());
    return error.isEmpty() ? 0 : fail(error);
}
