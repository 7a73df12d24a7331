// Throughput of the conversion loop on every path this processor has, against memcpy of the
// same data and, to and from UTF-8, against glibc's iconv(3), in one run; and the C API.
//   build/bin/convert_buffer_bench            (every path)
//   VARNEX_VECTOR=avx2 build/bin/convert_buffer_bench   (that path alone)
// Each case runs nine times (--benchmark_repetitions=N for another count); the ratios at the
// end compare the best of each.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <string_view>
#include <vector>

#include "Failure.h"
#include "VectorPaths.h"
#include "convert/CharacterRule.h"
#include "convert/ConvertChunk.h"
#include "convert/PieceConversion.h"
#include "map/FontLoaders.h"
#include "varnex.h"

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

// The sample in UTF-8, as iconv gives it: about 1.9 bytes a character.
const std::string& Utf8Sample() {
    static const std::string utf8 = [] {
        const auto text = SampleText();
        std::string out(text.size() * 4, '\0');
        iconv_t cd = iconv_open("UTF-8", "KOI8-R");
        char* in = const_cast<char*>(text.data());
        char* to = out.data();
        std::size_t inLeft = text.size(), outLeft = out.size();
        iconv(cd, &in, &inLeft, &to, &outLeft);
        iconv_close(cd);
        out.resize(out.size() - outLeft);
        return out;
    }();
    return utf8;
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

// To or from UTF-8 the rate is that of the KOI8-R side: the input of KOI8-R -> UTF-8, the
// output of UTF-8 -> KOI8-R, as the peers' figures are given.
void RunFromUtf8(benchmark::State& state, varnex::VectorLevel level) {
    varnex::ChooseVectorLevel(level);
    varnex::FontMap map;
    varnex::LoadFontMap(VARNEX_SHIPPED_FONT_MAP, "UTF-8", "KOI8-R", map);
    const std::string& text = Utf8Sample();
    PassSink sink(text.size() + 64);
    for (auto _ : state) {
        sink.Rewind();
        varnex::PieceConversion conversion(map);
        for (std::size_t i = 0; i < text.size(); i += kChunk) {
            varnex::ConvertChunk(std::string_view(text).substr(i, kChunk), conversion, sink);
        }
        conversion.Finish();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
}

// The same conversion through the C API, as a program calls it: pieces of 64 KiB into a
// buffer of the same size, again while the output is full.
void RunCApi(benchmark::State& state, const char* source, const char* target) {
    constexpr std::size_t kPiece = 64 * 1024;
    varnex_map* map = nullptr;
    varnex_converter* converter = nullptr;
    if (varnex_map_open(VARNEX_SHIPPED_FONT_MAP, &map) != VARNEX_OK ||
        varnex_converter_open(map, source, target, VARNEX_DROP, 0, nullptr, nullptr, &converter) !=
            VARNEX_OK) {
        state.SkipWithError(varnex_error_message());
        return;
    }
    const auto text = SampleText();
    std::vector<std::uint8_t> out(text.size() * 4);
    for (auto _ : state) {
        std::size_t written = 0;
        for (std::size_t i = 0; i < text.size(); i += kPiece) {
            std::size_t at = 0;
            while (at < kPiece) {
                std::size_t used = 0, made = 0;
                const varnex_status status =
                    varnex_convert(converter, reinterpret_cast<const std::uint8_t*>(text.data()) + i + at,
                                   kPiece - at, &used, out.data() + written, out.size() - written, &made, 0);
                at += used;
                written += made;
                if (status != VARNEX_OK && status != VARNEX_OUTPUT_FULL) break;
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    varnex_converter_close(converter);
    varnex_map_close(map);
}

void RunIconv(benchmark::State& state, const char* from, const char* to, const std::string& input) {
    iconv_t cd = iconv_open(to, from);
    std::string out(input.size() * 4, '\0');
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        char* put = out.data();
        std::size_t inLeft = input.size(), outLeft = out.size();
        iconv(cd, &in, &inLeft, &put, &outLeft);
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
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

// The anchors: memcpy and iconv(3) both ways.
void RegisterAnchors() {
    benchmark::RegisterBenchmark("BM_Memcpy", BM_Memcpy);
    static const auto koi8 = SampleText();
    benchmark::RegisterBenchmark("BM_Iconv/ToUtf8", [](benchmark::State& state) {
        RunIconv(state, "KOI8-R", "UTF-8", std::string(koi8.begin(), koi8.end()));
    });
    benchmark::RegisterBenchmark("BM_Iconv/FromUtf8", [](benchmark::State& state) {
        RunIconv(state, "UTF-8", "KOI8-R", Utf8Sample());
    });
}

// The anchors run first and again last, and their best over both counts: a slow spell of
// the machine while they run would otherwise flatter every ratio.
void RegisterBenchmarks() {
    RegisterAnchors();
    // the library holds an engine of its own, which takes its path from VARNEX_VECTOR alone
    const std::string libraryPath = varnex::VectorLevelName(varnex::ChosenVectorLevel());
    benchmark::RegisterBenchmark(("BM_CApiOneToOne/" + libraryPath).c_str(),
                                 [](benchmark::State& state) { RunCApi(state, "KOI8-R", "Windows-1251"); });
    for (const varnex::VectorLevel level : PathsToMeasure()) {
        const std::string path = varnex::VectorLevelName(level);
        benchmark::RegisterBenchmark(
            ("BM_ConvertOneToOne/" + path).c_str(),
            [level](benchmark::State& state) { RunConvert(state, level, "KOI8-R", "Windows-1251"); });
        benchmark::RegisterBenchmark(
            ("BM_ConvertMultiCode/" + path).c_str(),
            [level](benchmark::State& state) { RunConvert(state, level, "KOI8-R", "GOST 7.79-B Latin"); });
        benchmark::RegisterBenchmark(("BM_ToUtf8/" + path).c_str(), [level](benchmark::State& state) {
            RunConvert(state, level, "KOI8-R", "UTF-8");
        });
        benchmark::RegisterBenchmark(("BM_FromUtf8/" + path).c_str(),
                                     [level](benchmark::State& state) { RunFromUtf8(state, level); });
    }
    RegisterAnchors();
}

std::string PathOf(const std::string& name) {
    const auto slash = name.find('/');
    return slash == std::string::npos ? "none" : name.substr(slash + 1);
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Each case's best repetition, as the peers' figures are given.
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            double& best = rates_[run.run_name.str()];
            best = std::max(best, static_cast<double>(run.counters.at("bytes_per_second")));
        }
    }
    // A ratio whose anchor the filter left out is not printed.
    void PrintRatios() const {
        for (const auto& [name, rate] : rates_) {
            std::cout << name << " (path " << PathOf(name) << "): " << rate / 1e6 << " MB/s";
            PrintRatio(rate, "BM_Memcpy", "memcpy");
            if (name.starts_with("BM_CApiOneToOne/"))
                PrintRatio(rate, "BM_ConvertOneToOne/" + PathOf(name), "the engine in 1 KiB pieces");
            for (const char* direction : {"ToUtf8", "FromUtf8"}) {
                if (name.starts_with(std::string("BM_") + direction))
                    PrintRatio(rate, std::string("BM_Iconv/") + direction, "iconv");
            }
            std::cout << "\n";
        }
    }

private:
    void PrintRatio(double rate, const std::string& anchor, const char* label) const {
        const auto found = rates_.find(anchor);
        if (found != rates_.end()) std::cout << ", " << rate / found->second << " x " << label;
    }

    std::map<std::string, double> rates_;
};

}  // namespace

// Best of nine unless told otherwise: this machine's speed drifts by a third from second to
// second, and the best of several repetitions is the figure that repeats.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char nine[] = "--benchmark_repetitions=9";
    if (std::none_of(args.begin(), args.end(), [](const char* arg) {
            return std::string_view(arg).starts_with("--benchmark_repetitions");
        }))
        args.insert(args.begin() + 1, nine);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
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
