// Start-up of the real viewer, from process launch to its first paint, and
// its peak memory with a catalogue shown.
//   fosdat-bench-startup [benchmark options] FOSDAT NAME=DIR...
// FOSDAT is a viewer built with the first-paint hook; each DIR holds the dat/
// it starts in. The platform is the caller's QT_QPA_PLATFORM.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

// How long a viewer may take before it counts as hung.
constexpr int TimeoutSeconds = 120;
// How long the viewer runs on after its first paint when its memory is
// measured: time for the lazy layout of the 100x catalogue to finish.
constexpr int SettleMilliseconds = 5000;
// The peak hardly varies; a few runs of several seconds each suffice.
constexpr int PeakMemoryRuns = 3;

struct Run {
    double seconds = 0;
    double peakRssMb = 0;
    std::string error;
};

std::vector<char *> environmentWith(const std::string &setting)
{
    std::vector<char *> env;
    for (char **entry = environ; *entry; ++entry)
        env.push_back(*entry);
    env.push_back(const_cast<char *>(setting.c_str()));
    env.push_back(nullptr);
    return env;
}

[[noreturn]] void execViewer(const std::string &viewer, const std::string &dir,
                             std::vector<char *> &env)
{
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    if (::chdir(dir.c_str()) != 0)
        ::_exit(126);
    char *argv[] = {const_cast<char *>(viewer.c_str()), nullptr};
    ::execve(viewer.c_str(), argv, env.data());
    ::_exit(127);
}

// Starts the viewer in `dir` and waits for it to end itself `delayMs` after
// its first paint. SIGCHLD is blocked, so sigtimedwait() sees the end at once.
Run runViewer(const std::string &viewer, const std::string &dir, int delayMs)
{
    const std::string setting = "FOSDAT_EXIT_AFTER_FIRST_PAINT=" + std::to_string(delayMs);
    std::vector<char *> env = environmentWith(setting);
    sigset_t childEnded;
    sigemptyset(&childEnded);
    sigaddset(&childEnded, SIGCHLD);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0)
        return {0, 0, std::strerror(errno)};
    if (pid == 0)
        execViewer(viewer, dir, env);
    const timespec timeout{TimeoutSeconds, 0};
    if (::sigtimedwait(&childEnded, nullptr, &timeout) < 0)
        ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();

    Run run{
        std::chrono::duration<double>(end - start).count(), double(usage.ru_maxrss) / 1024.0, {}};
    if (WIFEXITED(status) && WEXITSTATUS(status) >= 126)
        run.error = "cannot start " + viewer + " in " + dir;
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.error = "the viewer did not end after its first paint (wait status " +
                    std::to_string(status) + ")";
    return run;
}

void measure(benchmark::State &state, const std::string &viewer, const std::string &dir,
             int delayMs)
{
    double peak = 0;
    for (auto _ : state) {
        const Run run = runViewer(viewer, dir, delayMs);
        if (!run.error.empty()) {
            state.SkipWithError(run.error.c_str());
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakRssMb);
    }
    state.counters["peak_rss_MB"] = peak;
}

double lowest(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double highest(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

void registerFor(const std::string &platform, const std::string &viewer, const std::string &name,
                 const std::string &dir)
{
    const auto add = [&](const std::string &kind, int delayMs) {
        return benchmark::RegisterBenchmark(
                   (kind + "/" + platform + "/" + name).c_str(),
                   [=](benchmark::State &state) { measure(state, viewer, dir, delayMs); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->ComputeStatistics("min", lowest)
            ->ComputeStatistics("max", highest);
    };
    add("Startup", 0)->Iterations(1);
    add("PeakMemory", SettleMilliseconds)->Iterations(1)->Repetitions(PeakMemoryRuns);
}

} // namespace

int main(int argc, char *argv[])
{
    benchmark::Initialize(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: fosdat-bench-startup [benchmark options] FOSDAT NAME=DIR...\n");
        return 2;
    }
    sigset_t childEnded;
    sigemptyset(&childEnded);
    sigaddset(&childEnded, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childEnded, nullptr);

    const char *platform = std::getenv("QT_QPA_PLATFORM");
    // The viewer starts in another directory.
    char *absolute = ::realpath(argv[1], nullptr);
    if (!absolute) {
        std::fprintf(stderr, "fosdat-bench-startup: %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    const std::string viewer = absolute;
    std::free(absolute);
    for (int i = 2; i < argc; ++i) {
        const std::string pair = argv[i];
        const size_t equals = pair.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "fosdat-bench-startup: expected NAME=DIR, not %s\n", argv[i]);
            return 2;
        }
        registerFor(platform ? platform : "default", viewer, pair.substr(0, equals),
                    pair.substr(equals + 1));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
