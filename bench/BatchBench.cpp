// Batches of files through the command line `varnex`, in one run: a tree of 10,000 files of
// 4 KiB and 20 files of 50 MiB, converted with one thread and with all, against the common
// idiom `find DIR -type f -exec iconv ... -o {}.out {} \;`.
//   build/bin/batch_bench [WORK_FOLDER] [--small | --big]
// The small files: --beside with -j1 and with all threads (every output synced before it
// gets its name), the idiom (which syncs nothing), and -j1 to /dev/null (the walk, the reads
// and the conversion alone). The big files: VARNEX_VECTOR=scalar to /dev/null with -j1 and
// all threads and two processes on half the files each, then --beside as the disk allows.
// Each figure is the best of three runs (the idiom: of two); a run that writes small files
// has a fresh tree of its own. The load average is printed at the start and the end.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
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

void WriteSmallTree(const fs::path& small, const std::string& text) {
    for (int i = 0; i < kSmallFiles; ++i) {
        const fs::path folder = small / ("d" + std::to_string(i / 100));
        fs::create_directories(folder);
        std::ofstream(folder / ("f" + std::to_string(i) + ".txt"), std::ios::binary) << text;
    }
}

void MakeBigFiles(const fs::path& big) {
    if (fs::exists(big)) return;
    fs::create_directories(big);
    const std::string piece = Sample(1 << 20, 2);
    for (int i = 0; i < kBigFiles; ++i) {
        std::ofstream out(big / ("big" + std::to_string(i) + ".txt"), std::ios::binary);
        for (std::size_t written = 0; written < kBigSize; written += piece.size()) out << piece;
    }
    std::system("sync");
}

// Each run that writes small files gets a tree of its own, written and synced before its time
// starts, and all are removed at the end. On an ext4 without a journal (as on this test
// machine), a new file's inode is looked for past every inode freed in the last minute, so a
// run that follows a removal of 10,000 files spends most of its time there.
class FreshTrees {
public:
    explicit FreshTrees(fs::path root, std::string text = Sample(kSmallSize, 1))
        : root_(std::move(root)), text_(std::move(text)) {
        fs::remove_all(root_);
    }
    ~FreshTrees() { fs::remove_all(root_); }
    fs::path Next() {
        const fs::path tree = root_ / std::to_string(made_++);
        WriteSmallTree(tree, text_);
        std::system("sync");
        return tree;
    }

private:
    fs::path root_;
    std::string text_;
    int made_ = 0;
};

double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Removes what a run wrote: the files whose name ends with `suffix`.
void RemoveOutputs(const fs::path& tree, const std::string& suffix) {
    std::vector<fs::path> outputs;
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        if (entry.path().filename().string().ends_with(suffix)) outputs.push_back(entry.path());
    }
    for (const auto& output : outputs) fs::remove(output);
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
    return timing;
}

Timing Best(const std::function<std::string()>& prepare, int runs) {
    Timing best;
    for (int run = 0; run < runs; ++run) {
        const std::string command = prepare();
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

void SmallFiles(const std::string& varnex, const fs::path& work) {
    FreshTrees trees(work / "small");
    const std::string pair = " -f KOI8-R -t CP866 -r ";
    const fs::path read = trees.Next();
    const Timing alone = Best([&] { return varnex + pair + "-j1 '" + read.string() + "' > /dev/null"; }, 3);
    const auto beside = [&](const std::string& jobs) {
        return [&, jobs] {
            return varnex + pair + jobs + "--beside '" + trees.Next().string() + "' 2>/dev/null";
        };
    };
    const Timing one = Best(beside("-j1 "), 3);
    const Timing all = Best(beside(""), 3);
    const Timing idiom = Best(
        [&] {
            return "find '" + trees.Next().string() +
                   "' -type f -name '*.txt' -exec iconv -f KOI8-R -t CP866 -o {}.out {} \\;";
        },
        2);
    const Timing filesystem = MakeFilesAlone(trees.Next());
    std::printf("\n%d files of %d bytes\n", kSmallFiles, kSmallSize);
    Row("the filesystem alone: fopen, fwrite, fclose a new file", filesystem, kSmallFiles);
    Row("varnex -r -j1 > /dev/null (walk, read, convert)", alone, kSmallFiles);
    Row("varnex -r -j1 --beside (synced)", one, kSmallFiles, Ratio(one.wall, idiom.wall) + " the idiom");
    Row("varnex -r --beside, all threads (synced)", all, kSmallFiles,
        Ratio(all.wall, idiom.wall) + " the idiom, " + Ratio(all.wall, one.wall) + " -j1");
    Row("find -exec iconv -o {}.out (not synced)", idiom, kSmallFiles);
}

// Bulgarian sentences (bench/detect/bg.txt) in KOI8-R, repeated to a small file's size: text
// that the detector reads as a person's.
std::string RealText() {
    const std::string command = "iconv -f UTF-8 -t KOI8-R '" + std::string(VARNEX_BENCH_TEXT) + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    while (pipe && !std::feof(pipe)) text.append(buffer, std::fread(buffer, 1, sizeof buffer, pipe));
    if (pipe) ::pclose(pipe);
    std::string sized;
    while (!text.empty() && sized.size() < kSmallSize) sized += text;
    return sized.substr(0, kSmallSize);
}

// The same batch with the font named and detected, in files of real text.
void SmallFilesDetected(const std::string& varnex, const fs::path& work) {
    FreshTrees trees(work / "small-text", RealText());
    const auto beside = [&](const std::string& source) {
        return [&, source] {
            return varnex + " -f " + source + " -t CP866 -r --beside '" + trees.Next().string() +
                   "' 2>/dev/null";
        };
    };
    Best(beside("KOI8-R"), 1);  // the files' pages in the cache
    Timing named = Best(beside("KOI8-R"), 3), detected = Best(beside("auto"), 3);
    std::printf("\n%d files of %d bytes of real text (bench/detect/bg.txt in KOI8-R)\n", kSmallFiles,
                kSmallSize);
    Row("varnex -f KOI8-R -r --beside, all threads (synced)", named, kSmallFiles);
    Row("varnex -f auto -r --beside, all threads (synced)", detected, kSmallFiles,
        Ratio(named.wall, detected.wall) + " the named font's time");
}

// Two processes at once, each on half of the files: what this machine gives two streams that
// share nothing, the ceiling of what threads can reach.
std::string TwoProcesses(const std::string& command, const fs::path& big) {
    std::string halves[2];
    for (int i = 0; i < kBigFiles; ++i)
        halves[i % 2] += " '" + (big / ("big" + std::to_string(i) + ".txt")).string() + "'";
    return "(" + command + halves[0] + " > /dev/null 2>&1 & " + command + halves[1] +
           " > /dev/null 2>&1; wait)";
}

// The same arithmetic loop on one thread, then on two at once: how far this machine's
// processors scale for work that touches no memory at all.
double ArithmeticScaling() {
    const auto loop = [] {
        volatile std::uint64_t sum = 0;
        for (std::uint64_t i = 0; i < 1'000'000'000; ++i) sum = sum + i * i;
    };
    const auto timed = [&](int threads) {
        const auto start = Clock::now();
        std::vector<std::thread> running;
        for (int i = 0; i < threads; ++i) running.emplace_back(loop);
        for (auto& thread : running) thread.join();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double one = 1e9, two = 1e9;
    for (int run = 0; run < 3; ++run) {
        one = std::min(one, timed(1));
        two = std::min(two, timed(2));
    }
    return 2 * one / two;
}

void BigFiles(const std::string& varnex, const fs::path& big) {
    MakeBigFiles(big);
    const auto clean = [&] { RemoveOutputs(big, "_CP866.txt"); };
    const std::string scalar = "VARNEX_VECTOR=scalar " + varnex + " -f KOI8-R -t CP866 ";
    const auto run = [&](const std::string& command, bool removeOutputs) {
        return [=] {
            if (removeOutputs) clean();
            return command;
        };
    };
    const Timing one = Best(run(scalar + "-r -j1 '" + big.string() + "' > /dev/null 2>&1", false), 3);
    const Timing all = Best(run(scalar + "-r '" + big.string() + "' > /dev/null 2>&1", false), 3);
    const Timing two = Best(run(TwoProcesses(scalar + "-j1", big), false), 3);
    const Timing besideOne =
        Best(run(scalar + "-r -j1 --beside '" + big.string() + "' 2>/dev/null", true), 3);
    const Timing besideAll = Best(run(scalar + "-r --beside '" + big.string() + "' 2>/dev/null", true), 3);
    clean();
    const double arithmetic = ArithmeticScaling();
    std::printf("\n%d files of %zu MiB, VARNEX_VECTOR=scalar\n", kBigFiles, kBigSize >> 20);
    Row("varnex -r -j1 > /dev/null", one, kBigFiles);
    Row("varnex -r > /dev/null, all threads", all, kBigFiles, Ratio(all.wall, one.wall) + " -j1");
    Row("two varnex -j1 at once, half the files each > /dev/null", two, kBigFiles,
        Ratio(two.wall, one.wall) + " -j1");
    std::printf("an arithmetic loop on two threads at once: %.2fx the work of one in the same time\n",
                arithmetic);
    Row("varnex -r -j1 --beside (synced)", besideOne, kBigFiles);
    Row("varnex -r --beside, all threads (synced)", besideAll, kBigFiles,
        Ratio(besideAll.wall, besideOne.wall) + " -j1");
}

// 768 MiB in `count` files, to standard output in their order on the plain path: -j2 against
// -j1. Files bigger than what may wait in memory go on into temporary files at their turn.
void OrderedFiles(const std::string& varnex, const fs::path& folder, int count) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string piece = Sample(1 << 20, 3);
    std::string names;
    for (int i = 0; i < count; ++i) {
        const fs::path file = folder / ("f" + std::to_string(i) + ".txt");
        std::ofstream out(file, std::ios::binary);
        for (int mib = 0; mib < 768 / count; ++mib) out << piece;
        names += " '" + file.string() + "'";
    }
    std::system("sync");
    const std::string command = "VARNEX_VECTOR=scalar " + varnex + " -f KOI8-R -t CP866 ";
    const Timing one = Best([&] { return command + "-j1" + names + " > /dev/null"; }, 3);
    const Timing two = Best([&] { return command + "-j2" + names + " > /dev/null"; }, 3);
    const std::string what = std::to_string(count) + " files of " + std::to_string(768 / count) + " MiB";
    Row("varnex -j1 > /dev/null, " + what, one, count);
    Row("varnex -j2 > /dev/null, " + what, two, count, Ratio(two.wall, one.wall) + " -j1");
    fs::remove_all(folder);
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
    std::printf("threads: %u; load average at the start: %s\n", std::thread::hardware_concurrency(),
                LoadAverage().c_str());
    if (small) SmallFiles(varnex, tree);
    if (small) SmallFilesDetected(varnex, tree);
    if (big) BigFiles(varnex, tree / "big");
    if (big) {
        std::printf("\nin order to standard output, VARNEX_VECTOR=scalar\n");
        OrderedFiles(varnex, tree / "ordered", 12);
        OrderedFiles(varnex, tree / "ordered", 24);
    }
    std::printf("\nload average at the end: %s\n", LoadAverage().c_str());
    return 0;
}
