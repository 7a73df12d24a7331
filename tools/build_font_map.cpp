// Builds the shipped font map database from its tab-separated source table.
#include <exception>
#include <iostream>

#include "FontTableTsv.h"
#include "SqliteFontMapWriter.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: build_font_map SOURCE.tsv OUTPUT\n";
        return 2;
    }
    try {
        const auto table = varnex::ReadFontTableTsv(argv[1]);
        varnex::WriteSqliteFontMap(argv[2], table);
        std::cout << "font map: " << table.columns.size() << " fonts, " << table.rows.size() << " rows\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "build_font_map: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
}
