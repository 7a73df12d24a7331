#include "UnicodeBench.h"

#include <cstdio>
#include <string>

#include "BenchTiming.h"

namespace varnex::bench {

namespace fs = std::filesystem;

void RunUnicodeBench(const fs::path& work, const fs::path& programFolder,
                     const std::vector<VectorLevel>& paths) {
    const fs::path koi8 = work / "varnex_bench_koi8.txt", utf8 = work / "varnex_bench_utf8.txt";
    WriteSample(koi8, 1ull << 30);
    const std::string from = "'" + koi8.string() + "'", fromUtf8 = "'" + utf8.string() + "'";
    Shell("iconv -f KOI8-R -t UTF-8 < " + from + " > " + fromUtf8);
    const std::string varnex = "'" + (programFolder / "varnex").string() + "'";
    std::printf(
        "\n1 GiB KOI8-R text and the same in UTF-8 (%.2f GiB), to /dev/null (best of 3; ratio = "
        "reference time / time)\n",
        static_cast<double>(fs::file_size(utf8)) / (1ull << 30));
    const double toUnicode = Best([&] { Shell("iconv -f KOI8-R -t UTF-8 < " + from + " > /dev/null"); });
    const double fromUnicode =
        Best([&] { Shell("iconv -f UTF-8 -t KOI8-R < " + fromUtf8 + " > /dev/null"); });
    Row("iconv -f KOI8-R -t UTF-8", toUnicode, toUnicode);
    Row("iconv -f UTF-8 -t KOI8-R", fromUnicode, fromUnicode);
    const double catKoi8 = Best([&] { Shell("cat " + from + " > /dev/null"); });
    const double catUtf8 = Best([&] { Shell("cat " + fromUtf8 + " > /dev/null"); });
    Row("cat KOI8-R FILE > /dev/null", catKoi8, catKoi8);
    Row("cat UTF-8 FILE > /dev/null", catUtf8, catUtf8);
    for (const VectorLevel path : paths) {
        const std::string on = std::string(" [") + VectorLevelName(path) + "]";
        const std::string run = "VARNEX_VECTOR=" + std::string(VectorLevelName(path)) + " " + varnex;
        Row("varnex -f KOI8-R -t UTF-8 vs iconv" + on,
            Best([&] { Shell(run + " -f KOI8-R -t UTF-8 " + from + " > /dev/null"); }), toUnicode);
        const double toTime = Best([&] { Shell(run + " -f KOI8-R -t UTF-8 " + from + " -o /dev/null"); });
        const double fromTime =
            Best([&] { Shell(run + " -f UTF-8 -t KOI8-R " + fromUtf8 + " -o /dev/null"); });
        Row("varnex -f UTF-8 -t KOI8-R vs iconv" + on, fromTime, fromUnicode);
        Row("varnex -f KOI8-R -t UTF-8 -o /dev/null vs cat" + on, toTime, catKoi8);
        Row("varnex -f UTF-8 -t KOI8-R -o /dev/null vs cat" + on, fromTime, catUtf8);
    }
    fs::remove(koi8);
    fs::remove(utf8);
}

}  // namespace varnex::bench
