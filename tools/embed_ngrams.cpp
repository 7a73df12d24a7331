// The build's check and embedding of the detector's language data: reads data/detect/ngrams.tsv,
// refuses a line that is not what the detector expects, and writes it as C++ arrays.
//   embed_ngrams NGRAMS.tsv OUTPUT.cpp
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Language {
    std::string code, name, script, letters;
    std::size_t grams = 0;
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

// The UTF-8 characters of a text; throws for bytes that are not well formed.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC2 ? 2
                                                  : 0;
        if (length == 0 || i + length > text.size()) throw std::runtime_error("not UTF-8");
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

std::string Escaped(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : text) {
        out += "\\x";
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

class Reader {
public:
    explicit Reader(const std::string& path) : path_(path) {}

    void Read(std::ostream& grams) {
        std::ifstream in(path_);
        if (!in) throw std::runtime_error(path_ + ": cannot be read");
        std::string line;
        while (std::getline(in, line)) {
            ++number_;
            if (line.rfind("#language\t", 0) == 0) {
                Declare(Fields(line));
            } else if (!line.empty() && line[0] != '#') {
                Gram(Fields(line), grams);
            }
        }
        if (languages_.empty()) Fail("no #language line");
        for (const Language& language : languages_) {
            if (language.grams < 100)
                throw std::runtime_error(path_ + ": " + language.code + " has too few n-grams");
        }
    }

    const std::vector<Language>& Languages() const { return languages_; }
    std::size_t Count() const { return count_; }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw std::runtime_error(path_ + ":" + std::to_string(number_) + ": " + why);
    }

    void Declare(const std::vector<std::string>& f) {
        if (f.size() != 5) Fail("#language needs a code, a name, a script and its letters");
        if (f[3] != "Cyrillic" && f[3] != "Latin") Fail("the script must be Cyrillic or Latin, not " + f[3]);
        if (index_.contains(f[1])) Fail("the language " + f[1] + " is declared twice");
        index_[f[1]] = languages_.size();
        Language language{f[1], f[2], f[3], f[4]};
        try {
            for (const auto& letter : Characters(f[4])) letters_[f[1]].push_back(letter);
        } catch (const std::exception&) {
            Fail("the letters are not UTF-8");
        }
        languages_.push_back(language);
    }

    void Gram(const std::vector<std::string>& f, std::ostream& out) {
        if (f.size() != 3) Fail("a line needs a language, an n-gram and its count");
        const auto found = index_.find(f[0]);
        if (found == index_.end()) Fail("the language " + f[0] + " is not declared above");
        std::vector<std::string> characters;
        try {
            characters = Characters(f[1]);
        } catch (const std::exception&) {
            Fail("the n-gram is not UTF-8");
        }
        if (characters.empty() || characters.size() > 3) Fail("an n-gram has one to three characters");
        for (const auto& c : characters) {
            const auto& letters = letters_[f[0]];
            if (c != " " && std::find(letters.begin(), letters.end(), c) == letters.end())
                Fail("\"" + c + "\" is not a letter of " + f[0]);
        }
        std::size_t used = 0;
        unsigned long long count = 0;
        try {
            count = std::stoull(f[2], &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != f[2].size() || count == 0 || count > UINT32_MAX)
            Fail("the count must be a number from 1");
        ++languages_[found->second].grams;
        ++count_;
        out << "    {" << found->second << ", \"" << Escaped(f[1]) << "\", " << count << "u},\n";
    }

    std::string path_;
    std::size_t number_ = 0, count_ = 0;
    std::vector<Language> languages_;
    std::map<std::string, std::size_t> index_;
    std::map<std::string, std::vector<std::string>> letters_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: embed_ngrams NGRAMS.tsv OUTPUT.cpp\n";
        return 2;
    }
    try {
        Reader reader(argv[1]);
        std::ostringstream grams;
        reader.Read(grams);
        std::ofstream out(argv[2]);
        out << "// Made by tools/embed_ngrams from " << argv[1] << "; do not edit.\n"
            << "#include \"detect/NgramData.h\"\n\nnamespace varnex {\n\nconst LanguageRecord "
               "kLanguageRecords[] = {\n";
        for (const auto& l : reader.Languages()) {
            out << "    {\"" << l.code << "\", \"" << l.name << "\", \"" << l.script << "\", \""
                << Escaped(l.letters) << "\"},\n";
        }
        out << "};\nconst std::size_t kLanguageRecordCount = " << reader.Languages().size() << ";\n\n"
            << "const NgramRecord kNgramRecords[] = {\n"
            << grams.str() << "};\nconst std::size_t kNgramRecordCount = " << reader.Count()
            << ";\n\n}  // namespace varnex\n";
        out.close();
        if (!out) throw std::runtime_error(std::string(argv[2]) + ": cannot be written");
    } catch (const std::exception& failure) {
        std::cerr << "embed_ngrams: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
