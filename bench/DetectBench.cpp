// How long the font detector takes for a sample, in process: 64 KiB (what `varnex detect`
// reads of a file) and 4 KiB (a small file of a batch converted with -f auto), in code pages
// whose readings the detector must tell apart, and in UTF-8.
//   build/bin/detect_bench
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "convert/ConvertChunk.h"
#include "detect/Detector.h"
#include "map/LoadedMap.h"
#include "text/ByteSink.h"

namespace {

const varnex::LoadedMap& Map() {
    static const varnex::LoadedMap map = varnex::LoadMap(VARNEX_SHIPPED_FONT_MAP);
    return map;
}

const varnex::Detector& TheDetector() {
    static const varnex::Detector detector(Map());
    return detector;
}

// Bulgarian sentences (bench/detect/bg.txt), repeated to `size` bytes in the font.
std::string Sample(const std::string& font, std::size_t size) {
    std::ifstream in(VARNEX_BENCH_TEXT);
    std::stringstream read;
    read << in.rdbuf();
    std::string utf8;
    while (utf8.size() < 3 * size) utf8 += read.str();
    varnex::FontMap pair;
    varnex::BuildPairMap(Map(), "UTF-8", font, pair);
    varnex::StringSink sink;
    varnex::ConvertChunk(utf8.substr(0, 3 * size > 30000 ? 30000 : 3 * size), pair, sink);
    std::string text = sink.Text();
    while (text.size() < size) text += text;
    return text.substr(0, size);
}

void Detect(benchmark::State& state, const std::string& font, std::size_t size,
            varnex::DetectionDepth depth) {
    const std::string sample = Sample(font, size);
    const varnex::Detector& detector = TheDetector();
    for (auto _ : state) benchmark::DoNotOptimize(detector.Detect(sample, depth));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.size()));
}

constexpr auto kWhole = varnex::DetectionDepth::Whole;
constexpr auto kFontOnly = varnex::DetectionDepth::FontOnly;

}  // namespace

BENCHMARK_CAPTURE(Detect, koi8r_64k, "KOI8-R", 65536, kWhole)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Detect, windows1251_64k, "Windows-1251", 65536, kWhole)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Detect, cp866_64k, "CP866", 65536, kWhole)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Detect, utf8_64k, "UTF-8", 65536, kWhole)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Detect, koi8r_4k_font_only, "KOI8-R", 4096, kFontOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Detect, windows1251_4k_font_only, "Windows-1251", 4096, kFontOnly)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
