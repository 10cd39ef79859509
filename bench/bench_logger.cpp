// Cost of one log line: suppressed, written to the log file, and a bare
// fprintf+fflush of the same text to a file, all in the same run.
//
// Run:
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build --target bench_logger
//   build/bench/bench_logger
//
// After the usual table it prints the written line and the suppressed line
// as ratios of the bare fprintf+fflush. The files go to a temporary folder
// under $TMPDIR (or /tmp) that is removed at the end.

#define KLOG_SOURCE "bench_logger"
#define KLOG_COMPONENT "launcher_debug"
#include "log/LogMacros.h"

#include <benchmark/benchmark.h>
#include <ftw.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

std::string g_dir;
long g_evaluated = 0;

// An argument with a visible side effect: a suppressed line must not run it.
int CountedArg() { return static_cast<int>(++g_evaluated); }

void StartFileLogger(std::string const& name) {
    Logger::Initialize(Logger::File, g_dir + "/" + name, "", 50, Logger::ThreadLock);
}

void BM_SuppressedLine(benchmark::State& state) {
    StartFileLogger("suppressed.log");
    long const before = g_evaluated;
    for (auto _ : state) {
        KLOG(Debug, "copy %s to %s: step %d\n", "/src/path/file.txt", "/dst/path/file.txt",
             CountedArg());
    }
    state.counters["args_evaluated"] = static_cast<double>(g_evaluated - before);
    Logger::Destroy();
}
BENCHMARK(BM_SuppressedLine);

void BM_WrittenLine(benchmark::State& state) {
    StartFileLogger("written.log");
    for (auto _ : state) {
        KLOG(Error, "copy %s to %s: step %d\n", "/src/path/file.txt", "/dst/path/file.txt", 42);
    }
    Logger::Destroy();
}
BENCHMARK(BM_WrittenLine);

// The same text and arguments, timestamp included, straight to a stream.
void BM_BareFprintfFflush(benchmark::State& state) {
    FILE* fp = fopen((g_dir + "/bare.log").c_str(), "a");
    if (fp == nullptr) {
        state.SkipWithError("cannot open bare.log");
        return;
    }
    for (auto _ : state) {
        fprintf(fp, "%s", "2024-01-01T00:00:00 ");
        fprintf(fp, "(%5d:%5d) [ERROR] bench_logger(%d): copy %s to %s: step %d\n",
                static_cast<int>(getpid()), KLOG_THREAD_NO(), __LINE__, "/src/path/file.txt",
                "/dst/path/file.txt", 42);
        fflush(fp);
    }
    fclose(fp);
}
BENCHMARK(BM_BareFprintfFflush);

// Keeps the table as usual and remembers the time per iteration by name.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ns_per_iter;

    void ReportRuns(std::vector<Run> const& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // Plain runs, or the mean when repetitions are asked for.
        for (Run const& run : runs) {
            bool const plain = run.run_type == Run::RT_Iteration && run.iterations > 0;
            bool const mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (plain || mean) ns_per_iter[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
};

int RemoveEntry(char const* path, struct stat const*, int, struct FTW*) { return remove(path); }

}  // namespace

int main(int argc, char** argv) {
    char const* base = getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/korvane-bench-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) {
        perror("mkdtemp");
        return 1;
    }
    g_dir = buf.data();

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto get = [&](char const* name) {
        auto it = reporter.ns_per_iter.find(name);
        return it == reporter.ns_per_iter.end() ? 0.0 : it->second;
    };
    double bare = get("BM_BareFprintfFflush");
    double written = get("BM_WrittenLine");
    double suppressed = get("BM_SuppressedLine");
    if (bare > 0) {
        if (written > 0) printf("ratio written line / bare fprintf+fflush: %.2f\n", written / bare);
        if (suppressed > 0)
            printf("ratio suppressed line / bare fprintf+fflush: %.4f\n", suppressed / bare);
    }
    printf("suppressed-line arguments evaluated: %ld\n", g_evaluated);

    nftw(g_dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    return g_evaluated == 0 ? 0 : 1;
}
