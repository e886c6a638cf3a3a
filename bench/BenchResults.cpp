#include "BenchResults.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <algorithm>

namespace fosdat::bench
{

namespace
{

// Exit statuses of `timeout -k`: the command stopped at the limit, or killed
// when it did not stop. A run that hyperfine saw killed has no status.
bool stoppedAtLimit(const QJsonValue &code)
{
    return code.isNull() || code.toInt() == 124 || code.toInt() == 137;
}

double toSeconds(double value, const QString &unit)
{
    if (unit == u"ns")
        return value / 1e9;
    if (unit == u"us")
        return value / 1e6;
    if (unit == u"ms")
        return value / 1e3;
    return value;
}

QString plainName(QString name)
{
    static const QRegularExpression suffixes(
        QStringLiteral("/(iterations:\\d+|repeats:\\d+|manual_time)"));
    return name.remove(suffixes);
}

const QStringList CountersToSkip = {QStringLiteral("name"),
                                    QStringLiteral("family_index"),
                                    QStringLiteral("run_name"),
                                    QStringLiteral("run_type"),
                                    QStringLiteral("repetitions"),
                                    QStringLiteral("threads"),
                                    QStringLiteral("aggregate_name"),
                                    QStringLiteral("aggregate_unit"),
                                    QStringLiteral("iterations"),
                                    QStringLiteral("real_time"),
                                    QStringLiteral("cpu_time"),
                                    QStringLiteral("time_unit"),
                                    QStringLiteral("label"),
                                    QStringLiteral("per_family_instance_index"),
                                    QStringLiteral("repetition_index"),
                                    QStringLiteral("error_occurred"),
                                    QStringLiteral("error_message")};

} // namespace

BenchResults BenchResults::load(const QString &dir, QStringList *errors)
{
    BenchResults results;
    static const QRegularExpression peerFile(QStringLiteral("^peers-(.+)-([a-z0-9]+)\\.json$"));
    const QStringList files = QDir(dir).entryList({QStringLiteral("*.json")}, QDir::Files);
    for (const QString &name : files) {
        QFile file(QDir(dir).filePath(name));
        QJsonParseError error{};
        const QJsonDocument json = file.open(QIODevice::ReadOnly)
                                       ? QJsonDocument::fromJson(file.readAll(), &error)
                                       : QJsonDocument();
        if (!json.isObject()) {
            errors->append(name + QStringLiteral(": not readable as JSON"));
            continue;
        }
        const QRegularExpressionMatch peer = peerFile.match(name);
        if (peer.hasMatch())
            results.addPeer(peer.captured(1), peer.captured(2), json.object());
        else
            results.addBenchmarks(json.object());
    }
    return results;
}

void BenchResults::addBenchmarks(const QJsonObject &root)
{
    const QJsonObject context = root.value(u"context").toObject();
    for (auto it = context.begin(); it != context.end(); ++it) {
        if (it.value().isString())
            m_context.insert(it.key(), it.value().toString());
    }
    const QJsonArray loads = context.value(u"load_avg").toArray();
    if (!loads.isEmpty()) {
        QStringList figures;
        for (const QJsonValue &load : loads)
            figures << QString::number(load.toDouble(), 'f', 2);
        m_context.insert(QStringLiteral("load at start of ") +
                             QFileInfo(context.value(u"executable").toString()).fileName(),
                         figures.join(u", "));
    }
    for (const QJsonValue &value : root.value(u"benchmarks").toArray()) {
        const QJsonObject entry = value.toObject();
        if (entry.value(u"error_occurred").toBool()) {
            m_errors.insert(plainName(entry.value(u"run_name").toString()),
                            entry.value(u"error_message").toString());
            if (entry.value(u"iterations").toInt() == 0)
                continue; // nothing measured; a run that was cut short keeps its figures
        }
        const QString aggregate = entry.value(u"aggregate_name").toString();
        BenchmarkResult &result = m_benchmarks[plainName(entry.value(u"run_name").toString())];
        const double seconds =
            toSeconds(entry.value(u"real_time").toDouble(), entry.value(u"time_unit").toString());
        const bool single = entry.value(u"run_type").toString() == u"iteration";
        if (aggregate == u"median" || single) {
            result.time.median = seconds;
            result.time.repetitions = entry.value(u"repetitions").toInt(1);
            for (auto it = entry.begin(); it != entry.end(); ++it) {
                if (!CountersToSkip.contains(it.key()) && it.value().isDouble())
                    result.counters.insert(it.key(), it.value().toDouble());
            }
        }
        if (aggregate == u"min" || single)
            result.time.min = seconds;
        if (aggregate == u"max" || single)
            result.time.max = seconds;
    }
}

void BenchResults::addPeer(const QString &input, const QString &tool, const QJsonObject &root)
{
    const QJsonArray runs = root.value(u"results").toArray();
    if (runs.isEmpty())
        return;
    const QJsonObject run = runs.first().toObject();
    Timing timing{run.value(u"median").toDouble(), run.value(u"min").toDouble(),
                  run.value(u"max").toDouble(), int(run.value(u"times").toArray().size()), false};
    const QJsonArray codes = run.value(u"exit_codes").toArray();
    timing.lowerBound = std::any_of(codes.begin(), codes.end(), stoppedAtLimit);
    m_peers.insert(input + u'/' + tool, timing);
}

std::optional<BenchmarkResult> BenchResults::benchmark(const QString &name) const
{
    const auto found = m_benchmarks.constFind(name);
    if (found == m_benchmarks.cend() || found->time.repetitions == 0)
        return std::nullopt;
    return *found;
}

std::optional<QString> BenchResults::error(const QString &name) const
{
    const auto found = m_errors.constFind(name);
    return found == m_errors.cend() ? std::nullopt : std::optional(*found);
}

QStringList BenchResults::names(const QString &prefix) const
{
    QStringList found;
    for (const QString &name : m_benchmarks.keys() + m_errors.keys()) {
        if (name.startsWith(prefix) && !found.contains(name))
            found.append(name);
    }
    found.sort();
    return found;
}

std::optional<Timing> BenchResults::peer(const QString &input, const QString &tool) const
{
    const auto found = m_peers.constFind(input + u'/' + tool);
    if (found == m_peers.cend())
        return std::nullopt;
    return *found;
}

} // namespace fosdat::bench
