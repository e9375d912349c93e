#pragma once

// What the benches share: a trace sink that writes nothing, CPU-against-wall accounting and the
// main() of a bench whose code needs Qt's application object.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <utility>

#include "common/trace_sink.h"

namespace zelmar::bench {

// Tracing off: the benches measure the driver, not the trace file.
class NoTrace : public TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

// CPU seconds this process has used so far.
inline double ThisProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Sums the CPU seconds (as `cpuSeconds` reads them) and wall seconds of measured stretches.
class CpuAndWall {
  public:
    explicit CpuAndWall(std::function<double()> cpuSeconds = ThisProcessCpuSeconds)
        : cpuSeconds_(std::move(cpuSeconds)) {}
    template <typename Work>
    void measure(Work work) {
        const double cpuStart = cpuSeconds_();
        const auto wallStart = std::chrono::steady_clock::now();
        work();
        cpu += cpuSeconds_() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    }
    double sharePercent() const { return wall > 0 ? 100.0 * cpu / wall : 0; }

    double cpu = 0, wall = 0;

  private:
    std::function<double()> cpuSeconds_;
};

}  // namespace zelmar::bench

#define ZELMAR_QT_BENCHMARK_MAIN()                \
    int main(int argc, char** argv) {             \
        QCoreApplication application(argc, argv); \
        benchmark::Initialize(&argc, argv);       \
        benchmark::RunSpecifiedBenchmarks();      \
        benchmark::Shutdown();                    \
        return 0;                                 \
    }
