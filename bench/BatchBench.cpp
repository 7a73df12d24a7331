// Batches of files through the command line `varnex`, in one run: a tree of 10,000 files of
// 4 KiB and 20 files of 50 MiB, converted with one thread and with all, against the common
// idiom `find DIR -type f -exec iconv ... -o {}.out {} \;`.
//   build/bin/batch_bench [WORK_FOLDER] [--small | --big]
// The small files: --beside with -j1 and with all threads (every output synced before it
// gets its name), the idiom (which syncs nothing), and -j1 to /dev/null (the walk, the reads
// and the conversion alone). The big files: VARNEX_VECTOR=scalar to /dev/null with -j1 and
// all threads, then --beside as the disk allows. Each figure is the best of three runs (the
// idiom: of two); outputs of a run are removed before the next, outside the time. The load
// average is printed at the start and the end.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSmallFiles = 10000;
constexpr int kSmallSize = 4096;
constexpr int kBigFiles = 20;
constexpr std::size_t kBigSize = 50u << 20;

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;  // user and system time of the program run
};

std::string LoadAverage() {
    std::ifstream load("/proc/loadavg");
    std::string line;
    std::getline(load, line);
    return line;
}

// KOI8-R letters, spaces and line breaks, as in a real text.
std::string Sample(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> letter(0xC0, 0xFF), kind(0, 9);
    std::string text(size, ' ');
    for (auto& c : text) {
        const int k = kind(random);
        c = static_cast<char>(k == 0 ? ' ' : k == 1 ? '\n' : letter(random));
    }
    return text;
}

void MakeTree(const fs::path& small, const fs::path& big) {
    if (!fs::exists(small)) {
        const std::string text = Sample(kSmallSize, 1);
        for (int i = 0; i < kSmallFiles; ++i) {
            const fs::path folder = small / ("d" + std::to_string(i / 100));
            fs::create_directories(folder);
            std::ofstream(folder / ("f" + std::to_string(i) + ".txt"), std::ios::binary) << text;
        }
    }
    if (!fs::exists(big)) {
        fs::create_directories(big);
        const std::string piece = Sample(1 << 20, 2);
        for (int i = 0; i < kBigFiles; ++i) {
            std::ofstream out(big / ("big" + std::to_string(i) + ".txt"), std::ios::binary);
            for (std::size_t written = 0; written < kBigSize; written += piece.size()) out << piece;
        }
    }
    std::system("sync");
}

double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Removes what a run wrote: the files whose name ends with `suffix`. ext4 passes over the
// inodes freed in the last seconds when it makes new files, which would slow the next run by
// half, so the removal is synced and left to age.
void RemoveOutputs(const fs::path& tree, const std::string& suffix) {
    std::vector<fs::path> outputs;
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        if (entry.path().filename().string().ends_with(suffix)) outputs.push_back(entry.path());
    }
    for (const auto& output : outputs) fs::remove(output);
    if (outputs.empty()) return;
    std::system("sync");
    std::this_thread::sleep_for(std::chrono::seconds(6));
}

// The filesystem's own part: the bench itself makes a file of 4 KiB beside each small file
// (open, write, close; nothing synced).
Timing MakeFilesAlone(const fs::path& small) {
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(small)) {
        if (entry.is_regular_file()) sources.push_back(entry.path());
    }
    const std::string text(kSmallSize, 'a');
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = Clock::now();
    for (const auto& source : sources) {
        std::FILE* file = std::fopen((source.string() + ".alone").c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    Timing timing;
    timing.wall = std::chrono::duration<double>(Clock::now() - start).count();
    getrusage(RUSAGE_SELF, &after);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    timing.cpu = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
                 seconds(before.ru_stime);
    RemoveOutputs(small, ".alone");
    return timing;
}

Timing Best(const std::string& command, int runs, const std::function<void()>& cleanUp) {
    Timing best;
    for (int run = 0; run < runs; ++run) {
        cleanUp();
        const double cpu = ChildCpuSeconds();
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0) {
            std::cerr << "failed: " << command << "\n";
            std::exit(1);
        }
        best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
        best.cpu = std::min(best.cpu, ChildCpuSeconds() - cpu);
    }
    return best;
}

void Row(const std::string& name, const Timing& timing, int files, const std::string& note = "") {
    std::printf("%-58s %8.3f s  cpu %7.3f s  %7.1f us/file  %s\n", name.c_str(), timing.wall, timing.cpu,
                timing.wall / files * 1e6, note.c_str());
}

std::string Ratio(double ours, double theirs) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", theirs / ours);
    return text;
}

void SmallFiles(const std::string& varnex, const fs::path& small) {
    const auto clean = [&] { RemoveOutputs(small, "_CP866.txt"); };
    const auto none = [] {};
    const std::string pair = " -f KOI8-R -t CP866 -r ";
    const Timing alone = Best(varnex + pair + "-j1 '" + small.string() + "' > /dev/null", 3, none);
    const Timing one = Best(varnex + pair + "-j1 --beside '" + small.string() + "' 2>/dev/null", 3, clean);
    const Timing all = Best(varnex + pair + "--beside '" + small.string() + "' 2>/dev/null", 3, clean);
    clean();
    const auto cleanIconv = [&] { RemoveOutputs(small, ".out"); };
    const Timing idiom = Best(
        "find '" + small.string() + "' -type f -name '*.txt' -exec iconv -f KOI8-R -t CP866 -o {}.out {} \\;",
        2, cleanIconv);
    cleanIconv();
    const Timing filesystem = MakeFilesAlone(small);
    std::printf("\n%d files of %d bytes\n", kSmallFiles, kSmallSize);
    Row("the filesystem alone: fopen, fwrite, fclose a new file", filesystem, kSmallFiles);
    Row("varnex -r -j1 > /dev/null (walk, read, convert)", alone, kSmallFiles);
    char beside[96];
    std::snprintf(beside, sizeof beside, "; cpu beyond the filesystem's %.1f us/file",
                  (one.cpu - filesystem.cpu) / kSmallFiles * 1e6);
    Row("varnex -r -j1 --beside (synced)", one, kSmallFiles,
        Ratio(one.wall, idiom.wall) + " the idiom" + beside);
    Row("varnex -r --beside, all threads (synced)", all, kSmallFiles,
        Ratio(all.wall, idiom.wall) + " the idiom");
    Row("find -exec iconv -o {}.out (not synced)", idiom, kSmallFiles);
}

void BigFiles(const std::string& varnex, const fs::path& big) {
    const auto clean = [&] { RemoveOutputs(big, "_CP866.txt"); };
    const auto none = [] {};
    const std::string scalar = "VARNEX_VECTOR=scalar " + varnex + " -f KOI8-R -t CP866 -r ";
    const Timing one = Best(scalar + "-j1 '" + big.string() + "' > /dev/null 2>&1", 3, none);
    const Timing all = Best(scalar + "'" + big.string() + "' > /dev/null 2>&1", 3, none);
    const Timing besideOne = Best(scalar + "-j1 --beside '" + big.string() + "' 2>/dev/null", 3, clean);
    const Timing besideAll = Best(scalar + "--beside '" + big.string() + "' 2>/dev/null", 3, clean);
    clean();
    std::printf("\n%d files of %zu MiB, VARNEX_VECTOR=scalar\n", kBigFiles, kBigSize >> 20);
    Row("varnex -r -j1 > /dev/null", one, kBigFiles);
    Row("varnex -r > /dev/null, all threads", all, kBigFiles, Ratio(all.wall, one.wall) + " -j1");
    Row("varnex -r -j1 --beside (synced)", besideOne, kBigFiles);
    Row("varnex -r --beside, all threads (synced)", besideAll, kBigFiles,
        Ratio(besideAll.wall, besideOne.wall) + " -j1");
}

}  // namespace

int main(int argc, char** argv) {
    fs::path work = fs::temp_directory_path();
    bool small = true, big = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--small")
            big = false;
        else if (arg == "--big")
            small = false;
        else
            work = arg;
    }
    const std::string varnex = "'" + (fs::absolute(argv[0]).parent_path() / "varnex").string() + "'";
    const fs::path tree = work / "varnex_batch_bench";
    MakeTree(tree / "small", tree / "big");
    std::printf("threads: %u; load average at the start: %s\n", std::thread::hardware_concurrency(),
                LoadAverage().c_str());
    if (small) SmallFiles(varnex, tree / "small");
    if (big) BigFiles(varnex, tree / "big");
    std::printf("\nload average at the end: %s\n", LoadAverage().c_str());
    return 0;
}
