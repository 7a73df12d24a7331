#include "ConvertOptions.h"

#include <functional>

namespace varnex::cli {

namespace {

struct ValueOption {
    const char* shortName;  // may be null
    const char* longName;
    std::function<void(ConvertOptions&, const std::string&)> set;
};

struct FlagOption {
    const char* shortName;
    const char* longName;
    bool ConvertOptions::*flag;
};

const std::vector<ValueOption>& ValueOptions() {
    static const std::vector<ValueOption> options = {
        {"-f", "--from", [](ConvertOptions& o, const std::string& v) { o.source = v; }},
        {"-t", "--to", [](ConvertOptions& o, const std::string& v) { o.target = v; }},
        {"-o", "--output", [](ConvertOptions& o, const std::string& v) { o.output = v; }},
        {nullptr, "--map", [](ConvertOptions& o, const std::string& v) { o.map = v; }},
        {nullptr, "--doc-font", [](ConvertOptions& o, const std::string& v) { o.docFonts.push_back(v); }},
        {nullptr, "--target-doc-font", [](ConvertOptions& o, const std::string& v) { o.targetDocFont = v; }},
    };
    return options;
}

const std::vector<FlagOption>& FlagOptions() {
    static const std::vector<FlagOption> options = {
        {nullptr, "--beside", &ConvertOptions::beside}, {"-l", "--list", &ConvertOptions::list},
        {nullptr, "--strict", &ConvertOptions::strict}, {nullptr, "--report", &ConvertOptions::report},
        {nullptr, "--force", &ConvertOptions::force},   {"-h", "--help", &ConvertOptions::help},
        {"-V", "--version", &ConvertOptions::version},
    };
    return options;
}

bool Is(const char* name, const std::string& word) { return name && word == name; }

// Returns true when `word` was a value option; `next` is taken when the value is not attached.
bool TakeValueOption(ConvertOptions& options, const std::string& word, const std::vector<std::string>& args,
                     std::size_t& i) {
    for (const auto& option : ValueOptions()) {
        std::string value;
        const std::string longEq = std::string(option.longName) + "=";
        if (Is(option.shortName, word) || Is(option.longName, word)) {
            if (i + 1 >= args.size()) throw UsageError("option " + word + " needs a value");
            value = args[++i];
        } else if (word.starts_with(longEq)) {
            value = word.substr(longEq.size());
        } else if (option.shortName && word.size() > 2 && word.starts_with(option.shortName)) {
            value = word.substr(2);
        } else {
            continue;
        }
        if (value.empty()) throw UsageError("option " + word + " needs a value");
        option.set(options, value);
        return true;
    }
    return false;
}

bool TakeFlagOption(ConvertOptions& options, const std::string& word) {
    for (const auto& option : FlagOptions()) {
        if (Is(option.shortName, word) || Is(option.longName, word)) {
            options.*option.flag = true;
            return true;
        }
    }
    return false;
}

void CheckCombination(const ConvertOptions& o) {
    if (o.help || o.version || o.list) return;
    if (o.source.empty() || o.target.empty()) {
        throw UsageError("say which fonts to convert between: -f SOURCE -t TARGET (varnex -l lists them)");
    }
    if (o.output && o.beside) throw UsageError("-o and --beside exclude each other");
    if (o.beside) {
        if (o.files.empty()) throw UsageError("--beside needs FILE names (standard input has no folder)");
        for (const auto& file : o.files) {
            if (file == "-") throw UsageError("--beside cannot place standard input (-) beside a file");
        }
    }
}

}  // namespace

ConvertOptions ParseConvertOptions(const std::vector<std::string>& args) {
    ConvertOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            options.files.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (!TakeFlagOption(options, word) && !TakeValueOption(options, word, args, i)) {
            throw UsageError("unknown option " + word + " (varnex --help lists the options)");
        }
    }
    CheckCombination(options);
    return options;
}

}  // namespace varnex::cli
