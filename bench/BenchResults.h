#pragma once

#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <optional>

namespace fosdat::bench
{

// One measured figure over its repetitions, in seconds.
struct Timing {
    double median = 0;
    double min = 0;
    double max = 0;
    int repetitions = 0;
    bool lowerBound = false; // a run was cut off: the real figure is higher
};

// A Google Benchmark result: its time and the medians of its counters.
struct BenchmarkResult {
    Timing time;
    QHash<QString, double> counters;
};

// The results of one `make bench` run, read from its JSON files.
class BenchResults
{
public:
    // Reads every *.json in `dir`: Google Benchmark output (any name) and
    // hyperfine output named peers-INPUT-TOOL.json. Unreadable files are
    // reported in `errors`.
    static BenchResults load(const QString &dir, QStringList *errors);

    // "LoadFile/CEPH1", "Startup/offscreen/sample": benchmark names without
    // Google Benchmark's "/iterations:N" and "/manual_time" suffixes.
    std::optional<BenchmarkResult> benchmark(const QString &name) const;
    // Why a benchmark failed, when it did.
    std::optional<QString> error(const QString &name) const;
    // The benchmarks, measured or failed, whose names begin with `prefix`, in order.
    QStringList names(const QString &prefix) const;
    std::optional<Timing> peer(const QString &input, const QString &tool) const;

    // Context entries of the Google Benchmark runs (input sizes, load).
    const QMap<QString, QString> &context() const { return m_context; }

private:
    void addBenchmarks(const QJsonObject &root);
    void addPeer(const QString &input, const QString &tool, const QJsonObject &root);

    QHash<QString, BenchmarkResult> m_benchmarks;
    QHash<QString, QString> m_errors;
    QHash<QString, Timing> m_peers; // "input/tool"
    QMap<QString, QString> m_context;
};

} // namespace fosdat::bench
