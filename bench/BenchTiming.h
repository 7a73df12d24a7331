#pragma once

// What the whole-file benchmarks share: the sample text, timing a piece of work, the best of
// three runs, and running a shell command that must succeed.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace varnex::bench {

inline double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of three runs. An earlier run's output is removed before each run, outside the
// time: truncating a 1 GiB file costs a third of a second, which is not the conversion's.
inline double Best(const std::function<void()>& work, const std::filesystem::path& removeFirst = {}) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        if (!removeFirst.empty()) std::filesystem::remove(removeFirst);
        best = std::min(best, Seconds(work));
    }
    return best;
}

inline void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::cerr << "failed: " << command << "\n";
        std::exit(1);
    }
}

// Russian-looking text in KOI8-R: letters 0xC0..0xFF, blanks and line breaks.
inline void WriteSample(const std::filesystem::path& path, std::uint64_t size) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter(0xC0, 0xFF), kind(0, 9);
    std::vector<char> piece(1 << 20);
    for (auto& c : piece) {
        const int k = kind(random);
        c = static_cast<char>(k == 0 ? ' ' : k == 1 ? '\n' : letter(random));
    }
    std::ofstream out(path, std::ios::binary);
    for (std::uint64_t written = 0; written < size; written += piece.size())
        out.write(piece.data(), piece.size());
}

// A result line: name, seconds, GiB/s of the 1 GiB source, and how many times faster than
// the reference.
inline void Row(const std::string& name, double seconds, double reference) {
    std::printf("%-53s %7.3f s  %6.2f GiB/s  %5.2fx\n", name.c_str(), seconds, 1.0 / seconds,
                reference / seconds);
}

}  // namespace varnex::bench
