#include "BenchInputs.h"

#include "TimeScale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace fosdat::bench
{

namespace
{

bool readInput(const QString &path, const QString &name, Input *input, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    *input = {name, QFileInfo(path).absoluteFilePath(), file.readAll()};
    return true;
}

} // namespace

Inputs loadInputs(const QString &sampleDir, const QStringList &scaleFiles, QString *error)
{
    Inputs inputs;
    inputs.sampleDir = QDir(sampleDir).absolutePath();
    const QDir catalogueDir(inputs.sampleDir + QStringLiteral("/dat/BD"));
    const QStringList names = catalogueDir.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
            continue;
        Input input;
        if (!readInput(catalogueDir.filePath(name), name, &input, error))
            return {};
        inputs.catalogues.append(input);
    }
    if (inputs.catalogues.isEmpty()) {
        *error = catalogueDir.path() + QStringLiteral(": no catalogue files");
        return {};
    }
    inputs.largest = *std::max_element(
        inputs.catalogues.cbegin(), inputs.catalogues.cend(),
        [](const Input &a, const Input &b) { return a.bytes.size() < b.bytes.size(); });
    inputs.dataSets.append({QStringLiteral("sample"), inputs.sampleDir});
    for (const QString &path : scaleFiles) {
        if (QFileInfo(path).isDir()) {
            inputs.dataSets.append({QFileInfo(path).fileName(), QDir(path).absolutePath()});
            continue;
        }
        Input input;
        if (!readInput(path, QFileInfo(path).completeBaseName(), &input, error))
            return {};
        inputs.scaled.append(input);
    }
    return inputs;
}

catalogue::CataloguesPtr readCatalogues(const DataSet &set)
{
    return catalogue::CatalogueReader().refresh(set.dir);
}

catalogue::EntriesPtr readEntries(const catalogue::CataloguesPtr &texts)
{
    return std::make_shared<const catalogue::CatalogueEntries>(
        texts, std::make_shared<const strata::TimeScale>(strata::shippedTimeScale()));
}

QString humanSize(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    return QString::number(double(bytes) / 1024, 'f', 1) + QStringLiteral(" KB");
}

} // namespace fosdat::bench
