#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace fosdat::bench
{

// How every benchmark program with windows begins, before its application
// is made: offscreen unless the caller names a platform, and the
// benchmark's own options taken out of the arguments.
inline void startBenchmarks(int *argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(argc, argv);
}

} // namespace fosdat::bench
