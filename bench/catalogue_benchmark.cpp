// Load and save of a large catalogue, beside a floor measured in the same
// run: finding every CR LF in the same bytes with memchr.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/generated_catalogue.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/file_io.h"

// Heap bytes in use, to measure what a loaded catalogue holds.
std::size_t HeapBytesInUse() {
    return mallinfo2().uordblks;
}

namespace {

const std::string& Text() {
    static const std::string text = GenerateCatalogueText(1000, 100);
    return text;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(getpid()))).string();
}

void BM_FloorMemchrCrLf(benchmark::State& state) {
    const std::string& text = Text();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = text.data();
        const char* end = p + text.size();
        while (const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p))) {
            if (cr + 1 < end && cr[1] == '\n') ++lines;
            p = cr + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_LoadFromFile(benchmark::State& state) {
    std::string path = TempPath("corvel-bench-load");
    corvel::ReplaceFileContents(path, Text());
    std::size_t bytesHeld = 0;
    for (auto _ : state) {
        auto catalogue = std::make_unique<corvel::Catalogue>();
        std::size_t before = HeapBytesInUse();
        if (!corvel::LoadCatalogue(*catalogue, path)) state.SkipWithError("load failed");
        state.PauseTiming();  // freeing the catalogue is not part of loading
        bytesHeld = HeapBytesInUse() - before;
        catalogue.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * Text().size());
    state.counters["held_MB"] = bytesHeld / 1e6;
    state.counters["held_per_file_byte"] = static_cast<double>(bytesHeld) / Text().size();
}

void BM_ParseInMemory(benchmark::State& state) {
    for (auto _ : state) {
        auto catalogue = std::make_unique<corvel::Catalogue>();
        corvel::ParseCatalogueText(*catalogue, Text());
        state.PauseTiming();
        catalogue.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * Text().size());
}

void BM_FormatInMemory(benchmark::State& state) {
    corvel::Catalogue catalogue;
    corvel::ParseCatalogueText(catalogue, Text());
    for (auto _ : state) benchmark::DoNotOptimize(corvel::FormatCatalogueText(catalogue));
    state.SetBytesProcessed(state.iterations() * Text().size());
}

void BM_SaveToFile(benchmark::State& state) {
    corvel::Catalogue catalogue;
    corvel::ParseCatalogueText(catalogue, Text());
    std::string path = TempPath("corvel-bench-save");
    for (auto _ : state) {
        if (!corvel::SaveCatalogue(catalogue, path)) state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * Text().size());
}

BENCHMARK(BM_FloorMemchrCrLf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

// Collects each benchmark's time so the ratios to the floor can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        auto floor = times_.find("BM_FloorMemchrCrLf");
        if (floor == times_.end()) return;
        std::printf("\nfile size: %.1f MB\n", Text().size() / 1e6);
        for (const auto& [name, time] : times_)
            std::printf("%-22s %8.2f x floor\n", name.c_str(), time / floor->second);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
