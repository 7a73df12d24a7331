// varnex: converts text between legacy 8-bit fonts from the command line, and checks,
// exports, builds and compares font maps (`varnex map ...`).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "ConvertCommand.h"
#include "DetectCommand.h"
#include "MapCommand.h"
#include "convert/CharacterRule.h"
#include "map/FontLoaders.h"

namespace {

std::filesystem::path MapBesideExecutable() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path(".") : self.parent_path()) / varnex::kFontMapFileName;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        varnex::ApplyVectorChoice();
    } catch (const std::exception& problem) {
        std::cerr << "varnex: " << problem.what() << '\n';
        return 2;
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::filesystem::path defaultMap = MapBesideExecutable();
    if (!args.empty() && args.front() == "map") {
        args.erase(args.begin());
        return varnex::cli::RunMapCommand(args, defaultMap, std::cout, std::cerr);
    }
    if (!args.empty() && args.front() == "detect") {
        args.erase(args.begin());
        return varnex::cli::RunDetectCommand(args, defaultMap, std::cout, std::cerr);
    }
    return varnex::cli::RunConvertCommand(args, defaultMap, std::cout, std::cerr);
}
