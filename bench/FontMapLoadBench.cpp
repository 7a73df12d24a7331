// Load time of the shipped font map, as SQLite and as a Jet 4.0 file written from it:
// LoadFontList and LoadFontMap, median of 50 loads each.
//   build/bin/font_map_load_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "JetWriter.h"
#include "TestDatabase.h"
#include "map/FontLoaders.h"

namespace {

double MedianMs(const std::function<void()>& load) {
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        const auto start = std::chrono::steady_clock::now();
        load();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    using namespace varnex;
    test::TempDir dir;
    const std::filesystem::path sqlite = VARNEX_SHIPPED_FONT_MAP, jet = dir.Path() / "mskvmap16.dll";
    test::WriteFile(
        jet, test::WriteJetFontMap(ReadFontTable(sqlite),
                                   test::ReadFile(std::string(VARNEX_JET_FIXTURES) + "/good/small.mdb")));
    for (const auto& [name, path] : {std::pair{"SQLite", sqlite}, std::pair{"Jet 4.0", jet}}) {
        FontMap map;
        std::printf("%-8s LoadFontList %6.2f ms   LoadFontMap KOI8-R -> Windows-1251 %6.2f ms\n", name,
                    MedianMs([&] { LoadFontList(path); }),
                    MedianMs([&] { LoadFontMap(path, "KOI8-R", "Windows-1251", map); }));
    }
}
