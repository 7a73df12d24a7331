#include "DocumentBench.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
#include "documents/DocumentConversion.h"
#include "files/SafeOutput.h"
#include "map/FontLoaders.h"
#include "text/Utf8Characters.h"
#include "text/Windows1252.h"

namespace varnex::bench {

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kTextBytes = 50ull << 20;
constexpr std::uint64_t kImageBytes = 30ull << 20;

// KOI8-R words as a word processor keeps them, in runs of the legacy font, ~50 MB of text.
std::string DocumentXml() {
    std::mt19937 random(7);
    std::vector<std::string> words;
    for (int i = 0; i < 400; ++i) {
        std::string word;
        for (int k = 3 + static_cast<int>(random() % 8); k > 0; --k) {
            AppendUtf8(word, Windows1252Character(static_cast<std::uint8_t>(0xC0 + random() % 64)));
        }
        words.push_back(word);
    }
    std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";
    std::uint64_t text = 0;
    while (text < kTextBytes) {
        std::string paragraph;
        while (paragraph.size() < 600) paragraph += words[random() % words.size()] + " ";
        text += paragraph.size();
        xml +=
            R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr><w:t xml:space="preserve">)" +
            paragraph + "</w:t></w:r></w:p>";
    }
    return xml + "</w:body></w:document>";
}

void WriteParts(const fs::path& parts) {
    fs::create_directories(parts / "word" / "media");
    std::ofstream(parts / "[Content_Types].xml")
        << R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)";
    std::ofstream(parts / "word" / "document.xml", std::ios::binary) << DocumentXml();
    std::ofstream image(parts / "word" / "media" / "image1.png", std::ios::binary);
    std::mt19937_64 random(11);
    std::vector<std::uint64_t> block(1 << 17);
    for (std::uint64_t done = 0; done < kImageBytes; done += block.size() * 8) {
        for (auto& value : block) value = random();
        image.write(reinterpret_cast<const char*>(block.data()),
                    static_cast<std::streamsize>(block.size() * 8));
    }
}

long PeakOfProgram(const std::vector<std::string>& args) {
    std::vector<std::string> words = args;
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) std::exit(1);
    long peak = 0;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        std::ifstream proc("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(proc, line);) {
            if (line.starts_with("VmHWM:")) peak = std::max(peak, std::stol(line.substr(6)));
        }
        usleep(2000);
    }
    return peak;
}

}  // namespace

void RunDocumentBench(const fs::path& work, const fs::path& programFolder) {
    const fs::path parts = work / "varnex_bench_parts", source = work / "varnex_bench.docx",
                   output = work / "varnex_bench_out.docx", rezipped = work / "varnex_bench_rezipped.docx";
    fs::remove_all(parts);
    fs::remove(source);
    WriteParts(parts);
    const std::string q = "'";
    Shell("cd " + q + parts.string() + q + " && zip -q -r " + q + source.string() + q + " .");
    const std::uint64_t largest = fs::file_size(parts / "word" / "document.xml");

    FontMap map;
    const fs::path database = programFolder / kFontMapFileName;
    LoadFontMap(database, "KOI8-R", "Windows-1251", map);
    const DocumentFonts fonts{LoadFontList(database), "KOI8-R", "Windows-1251", {}, ""};

    const double unzip = Best([&] { Shell("unzip -p " + q + source.string() + q + " > /dev/null"); }, output);
    const double zip = Best(
        [&] { Shell("cd " + q + parts.string() + q + " && zip -q -r " + q + rezipped.string() + q + " ."); },
        rezipped);
    const double engine = Best(
        [&] {
            SafeOutput out(output);
            DocumentTotals totals;
            ConvertDocument(source, "bench", out.File(), {map, fonts, false}, totals, nullptr);
            out.Commit(true);
        },
        output);
    const std::string cli = (programFolder / "varnex").string();
    const double program = Best(
        [&] {
            Shell(q + cli + q + " -f KOI8-R -t Windows-1251 " + q + source.string() + q + " -o " + q +
                  output.string() + q);
        },
        output);
    fs::remove(output);
    const long peak =
        PeakOfProgram({cli, "-f", "KOI8-R", "-t", "Windows-1251", source.string(), "-o", output.string()});

    std::printf("\nDOCX: %.1f MB document.xml, %.1f MB image; package %.1f MB (best of 3)\n", largest / 1e6,
                kImageBytes / 1e6, fs::file_size(source) / 1e6);
    std::printf("%-40s %7.3f s\n", "unzip -p PACKAGE > /dev/null", unzip);
    std::printf("%-40s %7.3f s\n", "zip -r of its parts", zip);
    std::printf("%-40s %7.3f s = %.2fx (unzip + zip)\n", "engine, ConvertDocument (synced)", engine,
                engine / (unzip + zip));
    std::printf("%-40s %7.3f s = %.2fx (unzip + zip)\n", "varnex -o (synced)", program,
                program / (unzip + zip));
    std::printf("varnex peak resident memory: %ld KiB = %.2fx the largest part (%llu KiB)\n", peak,
                peak * 1024.0 / static_cast<double>(largest),
                static_cast<unsigned long long>(largest / 1024));
    fs::remove_all(parts);
    fs::remove(source);
    fs::remove(output);
    fs::remove(rezipped);
}

}  // namespace varnex::bench
