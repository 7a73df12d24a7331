// Throughput of the conversion loop on every path this processor has, against memcpy of the
// same data, in one run.
//   build/bin/convert_buffer_bench            (every path)
//   VARNEX_VECTOR=avx2 build/bin/convert_buffer_bench   (that path alone)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <vector>

#include "Failure.h"
#include "VectorPaths.h"
#include "convert/CharacterRule.h"
#include "convert/ConvertBuffer.h"
#include "map/FontLoaders.h"

namespace {

constexpr std::size_t kDataSize = 1 << 20;
constexpr std::size_t kChunk = 1024;  // the file job's block

// Russian-looking text in KOI8-R: letters 0xC0..0xFF, blanks and line breaks.
std::vector<char> SampleText() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter(0xC0, 0xFF), kind(0, 9);
    std::vector<char> text(kDataSize);
    for (auto& c : text) {
        const int k = kind(random);
        c = static_cast<char>(k == 0 ? ' ' : k == 1 ? '\n' : letter(random));
    }
    return text;
}

// Collects a whole pass in one preallocated buffer, as memcpy below writes its whole copy.
class PassSink : public varnex::ByteSink {
public:
    explicit PassSink(std::size_t capacity) : buffer_(capacity) {}
    std::uint8_t* Reserve(std::size_t size) override {
        if (used_ + size > buffer_.size()) buffer_.resize(used_ + size);
        return buffer_.data() + used_;
    }
    void Commit(std::size_t size) override { used_ += size; }
    void Rewind() {
        benchmark::DoNotOptimize(buffer_.data());
        used_ = 0;
    }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
};

void RunConvert(benchmark::State& state, varnex::VectorLevel level, const char* source, const char* target) {
    varnex::ChooseVectorLevel(level);
    varnex::FontMap map;
    varnex::LoadFontMap(VARNEX_SHIPPED_FONT_MAP, source, target, map);
    const auto text = SampleText();
    PassSink sink(text.size() * map.MaxEntryLength() + 64);
    for (auto _ : state) {
        sink.Rewind();
        for (std::size_t i = 0; i < text.size(); i += kChunk) {
            varnex::ConvertChunk(std::string_view(text.data() + i, kChunk), map, sink);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Memcpy(benchmark::State& state) {
    const auto text = SampleText();
    std::vector<char> out(text.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < text.size(); i += kChunk)
            std::memcpy(out.data() + i, text.data() + i, kChunk);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

using varnex::bench::PathsToMeasure;

void RegisterBenchmarks() {
    benchmark::RegisterBenchmark("BM_Memcpy", BM_Memcpy);
    for (const varnex::VectorLevel level : PathsToMeasure()) {
        const std::string path = varnex::VectorLevelName(level);
        benchmark::RegisterBenchmark(
            ("BM_ConvertOneToOne/" + path).c_str(),
            [level](benchmark::State& state) { RunConvert(state, level, "KOI8-R", "Windows-1251"); });
        benchmark::RegisterBenchmark(
            ("BM_ConvertMultiCode/" + path).c_str(),
            [level](benchmark::State& state) { RunConvert(state, level, "KOI8-R", "GOST 7.79-B Latin"); });
    }
}

std::string PathOf(const std::string& name) {
    const auto slash = name.find('/');
    return slash == std::string::npos ? "none" : name.substr(slash + 1);
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) rates_[run.benchmark_name()] = run.counters.at("bytes_per_second");
    }
    void PrintRatios() const {
        const double memcpyRate = rates_.at("BM_Memcpy");
        for (const auto& [name, rate] : rates_) {
            std::cout << name << " (path " << PathOf(name) << "): " << rate / 1e6 << " MB/s, "
                      << rate / memcpyRate << " x memcpy\n";
        }
    }

private:
    std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    try {
        RegisterBenchmarks();
    } catch (const varnex::Failure& failure) {
        std::cerr << failure.Description() << "\n";
        return 2;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
}
