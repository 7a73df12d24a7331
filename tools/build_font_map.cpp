// Builds the shipped font map database from its tab-separated source table, through the
// same checks as `varnex map build`, so that a bad cell stops the build with its row and
// column.
#include <iostream>
#include <string>
#include <vector>

#include "MapCommand.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: build_font_map SOURCE.tsv OUTPUT\n";
        return 2;
    }
    const std::vector<std::string> args{"build", argv[1], "-o", argv[2]};
    return varnex::cli::RunMapCommand(args, {}, std::cout, std::cerr);
}
