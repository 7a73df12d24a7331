// The long mutation run over damaged Jet files, outside ctest:
//   build/bin/jet_mutation_run [COUNT]      (default 20000)
// Prints how each damaged file ended: read, refused by the structure check, refused by the
// reader, reader crashed, reader timed out. Any other outcome (an exception of another
// kind, or this process dying) is the fault this run looks for.
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "Failure.h"
#include "JetMutations.h"
#include "TestDatabase.h"
#include "files/ExclusiveFile.h"
#include "map/JetFontTable.h"

int main(int argc, char** argv) {
    using namespace varnex;
    const int count = argc > 1 ? std::stoi(argv[1]) : 20000;
    const std::filesystem::path fixtures = VARNEX_JET_FIXTURES;
    const std::string sources[] = {test::ReadFile(fixtures / "good" / "small.mdb"),
                                   test::ReadFile(fixtures / "good" / "memo.mdb"),
                                   test::ReadFile(fixtures / "good" / "big.mdb")};
    test::TempDir dir;
    const auto damaged = dir.Path() / "mskvmap16.dll";
    std::map<std::string, int> outcomes;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        const auto seed = static_cast<std::uint32_t>(1000000 + i);
        test::WriteFile(damaged, test::MutateJet(sources[seed % 3], seed));
        try {
            ExclusiveFile file(damaged);
            ReadJetFontTable(file.Descriptor(), damaged, std::chrono::milliseconds(2000));
            ++outcomes["read"];
        } catch (const Failure& failure) {
            const std::string text = failure.Description();
            const char* kind =
                text.find("did not end within") != std::string::npos ? "reader timed out (hang)"
                : text.find("signal") != std::string::npos || text.find("reader failed") != std::string::npos
                    ? "reader crashed"
                : text.find("whole 4,096-byte pages") != std::string::npos ||
                        text.find("signature") != std::string::npos ||
                        text.find("version") != std::string::npos || text.find("page 2") != std::string::npos
                    ? "refused by the structure check"
                    : "refused by the reader";
            ++outcomes[kind];
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d damaged files in %.1f s, all ended in a result or a Failure:\n", count, seconds);
    for (const auto& [kind, number] : outcomes) std::printf("  %-32s %6d\n", kind.c_str(), number);
}
