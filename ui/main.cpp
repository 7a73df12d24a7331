// Lists the fonts of the font map beside the executable.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "Failure.h"
#include "FontLoaders.h"

int main() {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    try {
        for (const auto& font : varnex::LoadFontList(folder / varnex::kFontMapFileName))
            std::cout << font << "\n";
    } catch (const varnex::Failure& failure) {
        std::cerr << failure.Description() << "\n";
        return 1;
    }
}
