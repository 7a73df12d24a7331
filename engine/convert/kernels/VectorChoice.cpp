// Which conversion path runs: what the processor has, and what VARNEX_VECTOR asks for.
#include <atomic>
#include <cstdlib>

#include "Failure.h"
#include "convert/CharacterRule.h"

namespace varnex {

namespace {

constexpr VectorLevel kAllLevels[] = {VectorLevel::Scalar, VectorLevel::Avx2, VectorLevel::Avx512,
                                      VectorLevel::Neon};

bool DetectLevel(VectorLevel level) {
#if defined(__x86_64__)
    __builtin_cpu_init();  // may run before libgcc's own start-up has done it
#endif
    switch (level) {
        case VectorLevel::Scalar:
            return true;
#if defined(__x86_64__)
        case VectorLevel::Avx2:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
        case VectorLevel::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2");
#elif defined(__aarch64__)
        case VectorLevel::Neon:
            return true;  // every ARM64 processor has Advanced SIMD
#endif
        default:
            return false;
    }
}

const char* LongName(VectorLevel level) {
    switch (level) {
        case VectorLevel::Avx2:
            return "AVX2";
        case VectorLevel::Avx512:
            return "AVX-512 VBMI";
        case VectorLevel::Neon:
            return "ARM64 NEON";
        default:
            return "plain";
    }
}

std::string NamesHere() {
    std::string names;
    for (const VectorLevel level : VectorLevelsHere())
        names += (names.empty() ? "" : ", ") + std::string(VectorLevelName(level));
    return names;
}

const VectorLevel* FindLevel(std::string_view name) {
    for (const VectorLevel& level : kAllLevels) {
        if (name == VectorLevelName(level)) return &level;
    }
    return nullptr;
}

std::string_view EnvironmentChoice() {
    const char* value = std::getenv("VARNEX_VECTOR");
    return value ? value : "";
}

VectorLevel InitialLevel() {
    const VectorLevel* named = FindLevel(EnvironmentChoice());
    return named && ProcessorHas(*named) ? *named : SupportedVectorLevel();
}

// Set before main() runs, so that reading it costs no first-use check.
std::atomic<VectorLevel> chosen{InitialLevel()};

std::atomic<VectorLevel>& Chosen() { return chosen; }

}  // namespace

const char* VectorLevelName(VectorLevel level) {
    switch (level) {
        case VectorLevel::Avx2:
            return "avx2";
        case VectorLevel::Avx512:
            return "avx512";
        case VectorLevel::Neon:
            return "neon";
        default:
            return "scalar";
    }
}

bool ProcessorHas(VectorLevel level) {
    static const bool has[] = {DetectLevel(VectorLevel::Scalar), DetectLevel(VectorLevel::Avx2),
                               DetectLevel(VectorLevel::Avx512), DetectLevel(VectorLevel::Neon)};
    const auto index = static_cast<std::size_t>(level);
    return index < std::size(has) && has[index];
}

std::vector<VectorLevel> VectorLevelsHere() {
    std::vector<VectorLevel> levels;
    for (const VectorLevel level : kAllLevels) {
        if (ProcessorHas(level)) levels.push_back(level);
    }
    return levels;
}

VectorLevel SupportedVectorLevel() { return VectorLevelsHere().back(); }

VectorLevel ChosenVectorLevel() { return Chosen().load(std::memory_order_relaxed); }

void ChooseVectorLevel(VectorLevel level) {
    if (!ProcessorHas(level)) throw Failure(kTypeMismatch, VectorChoiceProblem(VectorLevelName(level)));
    Chosen().store(level, std::memory_order_relaxed);
}

std::string VectorChoiceProblem(std::string_view value) {
    if (value.empty()) return "";
    const VectorLevel* named = FindLevel(value);
    if (!named) {
        return "VARNEX_VECTOR=" + std::string(value) +
               " names no conversion path; use scalar, avx2, avx512 or neon (this processor can run " +
               NamesHere() + ").";
    }
    if (!ProcessorHas(*named)) {
        return "VARNEX_VECTOR=" + std::string(value) + " asks for the " + LongName(*named) +
               " path, which this processor does not have (it can run " + NamesHere() + ").";
    }
    return "";
}

void ApplyVectorChoice() {
    const std::string_view value = EnvironmentChoice();
    const std::string problem = VectorChoiceProblem(value);
    if (!problem.empty()) throw Failure(kTypeMismatch, problem);
    const VectorLevel* named = FindLevel(value);
    Chosen().store(named ? *named : SupportedVectorLevel(), std::memory_order_relaxed);
}

}  // namespace varnex
