// The file job's own code and the command line `varnex` on a 1 GiB file, side by side in one
// run with iconv and with tr doing the same byte mapping, to /dev/null and to a new file on
// disk, on every conversion path this processor has (or the one VARNEX_VECTOR names).
//   build/bin/file_job_bench [WORK_FOLDER] [--rss]
//   VARNEX_VECTOR=scalar build/bin/file_job_bench
//   build/bin/file_job_bench --drain < PIPE   (reads its input and does nothing else)
//   build/bin/file_job_bench [WORK_FOLDER] --document   (the document case alone)
// --rss also converts a 4 GiB source, with the job and with varnex, and prints the growth of
// the resident memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "DocumentBench.h"
#include "Failure.h"
#include "UnicodeBench.h"
#include "VectorPaths.h"
#include "convert/CharacterRule.h"
#include "jobs/FileJob.h"
#include "map/FontLoaders.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kGiB = 1ull << 30;

class QuietHost : public varnex::JobHost {
public:
    void SetCaption(const std::string&) override {}
    void Yield() override {}
    bool CancelRequested() const override { return false; }
    double Seconds() override {
        return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    }
    std::string DecimalSeparator() const override { return "."; }
};

class PrintingDialogs : public varnex::Dialogs {
public:
    varnex::MessageAnswer Show(const varnex::Message& message) override {
        if (message.title != "Varnex") std::cerr << message.title << ": " << message.text << "\n";
        return varnex::MessageAnswer::Ok;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

// tr's two sets for the 1:1 entries of a map, as octal escapes.
std::string TrCommand(const varnex::FontMap& map) {
    std::string from, to;
    char escape[8];
    for (int c = 1; c < 256; ++c) {
        if (map.Entry(c).size() != 1) continue;
        std::snprintf(escape, sizeof escape, "\\%03o", c);
        from += escape;
        std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(map.Entry(c)[0]));
        to += escape;
    }
    return "tr '" + from + "' '" + to + "'";
}

using varnex::bench::Best;
using varnex::bench::PathsToMeasure;
using varnex::bench::Shell;

long MaxResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The peak resident memory of a running program so far (VmHWM), in KiB; 0 once it is gone.
long PeakSoFar(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
    }
    return 0;
}

// Runs a program and returns its peak resident memory in KiB. The peak is read from the
// program's own memory while it runs: the rusage figure of a child also counts the memory of
// the process it was started from.
long PeakOfProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::vector<std::string> words = args;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::cerr << "cannot start " << args[0] << "\n";
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    long peak = 0;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        peak = std::max(peak, PeakSoFar(pid));
        usleep(2000);
    }
    return peak;
}

// The pipe alone: reads standard input to its end in 1 MiB pieces, from a 1 MiB pipe buffer
// as varnex asks for, and does nothing else with it.
int Drain() {
    ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, 1 << 20);
    std::vector<char> buffer(1 << 20);
    while (true) {
        const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got == 0) return 0;
        if (got < 0 && errno != EINTR) return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--drain") return Drain();
    std::vector<varnex::VectorLevel> paths;
    try {
        paths = PathsToMeasure();
    } catch (const varnex::Failure& failure) {
        std::cerr << failure.Description() << "\n";
        return 2;
    }
    const fs::path work = argc > 1 && argv[1][0] != '-' ? fs::path(argv[1]) : fs::temp_directory_path();
    const bool rss = argc > 1 && std::string(argv[argc - 1]) == "--rss";
    if (argc > 1 && std::string(argv[argc - 1]) == "--document") {
        varnex::bench::RunDocumentBench(work, fs::absolute(argv[0]).parent_path());
        return 0;
    }
    if (argc > 1 && std::string(argv[argc - 1]) == "--unicode") {
        varnex::bench::RunUnicodeBench(work, fs::absolute(argv[0]).parent_path(), paths);
        return 0;
    }
    const fs::path database = fs::path(argv[0]).parent_path() / varnex::kFontMapFileName;
    const std::string cli = "'" + (fs::path(argv[0]).parent_path() / "varnex").string() + "'";
    const std::string drain = "'" + fs::absolute(argv[0]).string() + "' --drain";
    const fs::path source = work / "varnex_bench_source.txt", output = work / "varnex_bench_output.txt";
    varnex::bench::WriteSample(source, kGiB);
    QuietHost host;
    PrintingDialogs dialogs;

    const auto job = [&](const varnex::FontMap& map, const fs::path& to) {
        return [&, to] { varnex::RunFileJob(source, to, map, host, dialogs); };
    };
    const auto row = varnex::bench::Row;

    varnex::FontMap cyrillic, latin;
    varnex::LoadFontMap(database, "KOI8-R", "Windows-1251", cyrillic);
    varnex::LoadFontMap(database, "KOI8-R", "GOST 7.79-B Latin", latin);
    const std::string src = "'" + source.string() + "'", out = "'" + output.string() + "'";
    for (const auto& [target, name] :
         {std::pair{std::string("/dev/null"), "to /dev/null"}, std::pair{output.string(), "to a new file"}}) {
        const std::string to = "'" + target + "'";
        const fs::path fresh = target == "/dev/null" ? fs::path() : output;
        std::printf("\n1 GiB KOI8-R text, %s (best of 3; ratio = reference time / time)\n", name);
        const double tr = Best([&] { Shell(TrCommand(cyrillic) + " < " + src + " > " + to); }, fresh);
        const double iconv =
            Best([&] { Shell("iconv -f KOI8-R -t WINDOWS-1251 < " + src + " > " + to); }, fresh);
        row("iconv -f KOI8-R -t WINDOWS-1251", iconv, iconv);
        row("tr, the same byte mapping", tr, tr);
        const double pipeAlone = Best([&] { Shell("cat " + src + " | " + drain); });
        row("cat | a reader doing nothing (the pipe alone)", pipeAlone, pipeAlone);
        const bool discarded = target == "/dev/null";
        // the machine's own floor: reading the cached file, and nothing else
        const double cat = discarded ? Best([&] { Shell("cat " + src + " > /dev/null"); }, fresh) : 0;
        const double dd =
            discarded ? Best([&] { Shell("dd if=" + src + " of=/dev/null bs=1M status=none"); }, fresh) : 0;
        if (discarded) {
            row("cat FILE > /dev/null", cat, cat);
            row("dd if=FILE of=/dev/null bs=1M", dd, cat);
        }
        for (const varnex::VectorLevel path : paths) {
            varnex::ChooseVectorLevel(path);
            const std::string on = std::string(" [") + varnex::VectorLevelName(path) + "]";
            const double oneToOne = Best(job(cyrillic, target), fresh);
            const double multi = Best(job(latin, target), fresh);
            row("job KOI8-R -> Windows-1251 vs tr" + on, oneToOne, tr);
            row("job KOI8-R -> Windows-1251 vs iconv" + on, oneToOne, iconv);
            row("job KOI8-R -> GOST 7.79-B Latin vs tr" + on, multi, tr);
            const std::string varnex =
                "VARNEX_VECTOR=" + std::string(varnex::VectorLevelName(path)) + " " + cli;
            const std::string into = target == "/dev/null" ? " > " + to : " --force -o " + to;
            const double fromFile =
                Best([&] { Shell(varnex + " -f KOI8-R -t Windows-1251 " + src + into); }, fresh);
            const double fromPipe = Best(
                [&] { Shell("cat " + src + " | " + varnex + " -f KOI8-R -t Windows-1251" + into); }, fresh);
            const bool synced = target != "/dev/null";
            row(std::string("varnex") + (synced ? " -o (synced)" : "") + " vs the job" +
                    (synced ? " (synced)" : "") + on,
                fromFile, oneToOne);
            row("varnex KOI8-R -> Windows-1251 vs tr" + on, fromFile, tr);
            row("cat | varnex vs varnex FILE" + on, fromPipe, fromFile);
            row("cat | varnex vs cat | a reader doing nothing" + on, fromPipe, pipeAlone);
            if (discarded) {
                const double device = Best(
                    [&] { Shell(varnex + " -f KOI8-R -t Windows-1251 " + src + " -o /dev/null"); }, fresh);
                row("varnex FILE -o /dev/null vs cat FILE > /dev/null" + on, device, cat);
            }
            if (synced) {
                const double plain =
                    Best([&] { Shell(varnex + " -f KOI8-R -t Windows-1251 " + src + " > " + to); }, fresh);
                row("varnex > FILE (not synced) vs tr (not synced)" + on, plain, tr);
            }
        }
    }
    fs::remove(output);

    if (rss) {
        const fs::path big = work / "varnex_bench_4g.txt";
        Shell("cat " + src + " " + src + " " + src + " " + src + " > '" + big.string() + "'");
        const long before = MaxResidentKiB();
        varnex::ChooseVectorLevel(paths.back());
        varnex::RunFileJob(big, "/dev/null", latin, host, dialogs);
        std::printf("\n4 GiB source: resident memory grew by %ld KiB (peak %ld KiB)\n",
                    MaxResidentKiB() - before, MaxResidentKiB());
        const std::string varnex = (fs::path(argv[0]).parent_path() / "varnex").string();
        const long small =
            PeakOfProgram({varnex, "-f", "KOI8-R", "-t", "GOST 7.79-B Latin", source.string()});
        const long large = PeakOfProgram({varnex, "-f", "KOI8-R", "-t", "GOST 7.79-B Latin", big.string()});
        std::printf("varnex: peak resident memory %ld KiB on 1 GiB, %ld KiB on 4 GiB (+%ld KiB)\n", small,
                    large, large - small);
        fs::remove(big);
    }
    fs::remove(source);
    varnex::bench::RunUnicodeBench(work, fs::absolute(argv[0]).parent_path(), paths);
    varnex::bench::RunDocumentBench(work, fs::absolute(argv[0]).parent_path());
}
