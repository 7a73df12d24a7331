// Writes the bash completion of varnex from its template, with the option lists of the
// option table: make_completion TEMPLATE OUTPUT.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "ConvertOptionTable.h"

namespace {

void Replace(std::string& text, const std::string& placeholder, const std::string& words) {
    const std::size_t at = text.find(placeholder);
    if (at == std::string::npos) throw std::runtime_error("the template lacks " + placeholder);
    text.replace(at, placeholder.size(), words);
}

}  // namespace

int main(int argc, char** argv) {
    using varnex::cli::ConvertOptionSpellings;
    using varnex::cli::ValueKind;
    if (argc != 3) {
        std::cerr << "usage: make_completion TEMPLATE OUTPUT\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        std::stringstream read;
        read << in.rdbuf();
        if (!in) throw std::runtime_error(std::string(argv[1]) + ": cannot be read");
        std::string text = read.str();
        Replace(text, "@OPTIONS@", ConvertOptionSpellings());
        Replace(text, "@FONT_OPTIONS@", ConvertOptionSpellings(ValueKind::Font));
        Replace(text, "@FILE_OPTIONS@", ConvertOptionSpellings(ValueKind::File));
        Replace(text, "@FOLDER_OPTIONS@", ConvertOptionSpellings(ValueKind::Folder));
        Replace(text, "@FREE_OPTIONS@", ConvertOptionSpellings(ValueKind::Free));
        std::ofstream out(argv[2]);
        out << text;
        out.close();
        if (!out) throw std::runtime_error(std::string(argv[2]) + ": cannot be written");
    } catch (const std::exception& failure) {
        std::cerr << "make_completion: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
