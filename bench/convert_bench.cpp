// Conversion throughput: one generated job of 100,000 mixed lines (sales, discounts, prints,
// payments) converted from its file into the command file, as the driver does for every job.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "common/session.h"
#include "common/text_file.h"
#include "common/trace_sink.h"
#include "config/scratch_folder.h"
#include "convert/converter.h"

namespace {

constexpr std::size_t kJobLines = 100000;

class SilentTrace : public zelmar::TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

// Receipts of ten lines each, the way a busy till writes them.
std::vector<std::string> MixedJob(std::size_t lineCount) {
    const std::vector<std::string> receipt = {
        "SALE,N1,Q1,P150,:PANE INTEGRALE;",
        "SALE,N2,Q2.5,P1299,:FORMAGGIO STAGIONATO DI MONTAGNA;",
        "PLUD,C[80012345],N3,P349,:LATTE FRESCO;",
        "DISC,%10,:SCONTO FEDELTA;",
        "SALE,N4,P50,:BUSTA,S1;",
        "COUP,V100,:BUONO SCONTO SETTIMANALE;",
        "PRNT,:GRAZIE E ARRIVEDERCI A PRESTO;",
        "SUBT;",
        "CARD,V2000,:BANCOMAT;",
        "CASH,V1000,:CONTANTI;",
    };
    std::vector<std::string> job;
    job.reserve(lineCount);
    while (job.size() < lineCount) job.push_back(receipt.at(job.size() % receipt.size()));
    return job;
}

zelmar::Session BenchSession(const std::string& dataFolder) {
    zelmar::Session session;
    session.DataFolder = dataFolder;
    session.reg().ModelCode = "AB";
    session.reg().ModelDescription = "ECR AB";
    session.reg().IsRtRegister = true;
    session.reg().SerialNumber = "99012345";
    session.reg().DeptVat = {"22.00", "10.00", "4.00",  "5.00",  "0.00", "22.00",
                             "22.00", "22.00", "22.00", "22.00", "22.00"};
    session.reg().DeptNature = std::vector<int>(11, 0);
    session.options.PrintItemCode = true;
    return session;
}

// The benchmarks are built on Linux only, where ru_maxrss is in kilobytes.
double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ConvertMixedJob(benchmark::State& state) {
    const zelmar::testing::ScratchFolder folder("convert_bench");
    const std::string jobPath = folder.file("SR_DATI.001");
    zelmar::WriteTextLines(jobPath, MixedJob(kJobLines));
    zelmar::Session session = BenchSession(folder.path());
    SilentTrace trace;

    for (auto _ : state) {
        std::string path = jobPath;
        const int result = zelmar::convert::Converter(session, trace).ConvertJobFile(path);
        if (result != 0) state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(result);
    }
    const auto lines = static_cast<double>(kJobLines) * static_cast<double>(state.iterations());
    state.counters["lines_per_second"] = benchmark::Counter(lines, benchmark::Counter::kIsRate);
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}

BENCHMARK(BM_ConvertMixedJob)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
