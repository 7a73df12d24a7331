#include "OptionParser.h"

#include <algorithm>

namespace varnex::cli {

namespace {

// getopt_long's value for an option without a short name: past every character.
constexpr int kFirstLongValue = 256;

int ValueOf(const OptionDefinition& option, std::size_t index) {
    return option.shortName ? static_cast<unsigned char>(option.shortName)
                            : kFirstLongValue + static_cast<int>(index);
}

int HasArgument(Takes takes) {
    switch (takes) {
        case Takes::Value:
            return required_argument;
        case Takes::OptionalValue:
            return optional_argument;
        default:
            return no_argument;
    }
}

std::string LongName(const std::string& word) {
    const std::string name = word.substr(2);
    return name.substr(0, name.find('='));
}

}  // namespace

OptionParser::OptionParser(const std::vector<std::string>& words, std::vector<OptionDefinition> definitions)
    : storage_(words), definitions_(std::move(definitions)) {
    storage_.insert(storage_.begin(), "varnex");
    for (auto& word : storage_) argv_.push_back(word.data());
    argv_.push_back(nullptr);
    // "-": words that are no options come back in their place; ":": a missing value is told apart
    shortOptions_ = "-:";
    for (std::size_t i = 0; i < definitions_.size(); ++i) {
        const OptionDefinition& option = definitions_[i];
        longOptions_.push_back({option.longName, HasArgument(option.takes), nullptr, ValueOf(option, i)});
        if (!option.shortName) continue;
        shortOptions_ += option.shortName;
        if (option.takes != Takes::Nothing) shortOptions_ += ':';
        if (option.takes == Takes::OptionalValue) shortOptions_ += ':';
    }
    longOptions_.push_back({nullptr, 0, nullptr, 0});
    optind = 0;  // glibc starts afresh
    opterr = 0;
}

bool OptionParser::Known(int value) const {
    for (std::size_t i = 0; i < definitions_.size(); ++i) {
        if (ValueOf(definitions_[i], i) == value) return true;
    }
    return false;
}

const OptionDefinition& OptionParser::DefinitionFor(int value) const {
    for (std::size_t i = 0; i < definitions_.size(); ++i) {
        if (ValueOf(definitions_[i], i) == value) return definitions_[i];
    }
    throw UsageError("unknown option");
}

std::string OptionParser::NameOf(const OptionDefinition& option) const {
    return option.shortName ? std::string("-") + option.shortName : std::string("--") + option.longName;
}

std::string OptionParser::LongOptionFault(const std::string& word) const {
    const std::string name = LongName(word);
    std::vector<std::string> candidates;
    for (const OptionDefinition& option : definitions_) {
        const std::string full = option.longName;
        if (full == name) return "option --" + full + " takes no value";
        if (full.starts_with(name)) candidates.push_back("--" + full);
    }
    if (candidates.empty()) return "unknown option --" + name;
    // one option begins so: getopt refused the value that it does not take
    if (candidates.size() == 1) return "option " + candidates.front() + " takes no value";
    std::string list;
    for (const auto& candidate : candidates) list += (list.empty() ? "" : ", ") + candidate;
    return "option --" + name + " is ambiguous: it may be " + list;
}

std::optional<ParsedWord> OptionParser::Next() {
    const int argc = static_cast<int>(argv_.size()) - 1;
    if (optionsEnded_) {
        if (optind >= argc) return std::nullopt;
        return ParsedWord{kOperand, storage_[optind++]};
    }
    const int value = getopt_long(argc, argv_.data(), shortOptions_.c_str(), longOptions_.data(), nullptr);
    if (value == -1) {
        optionsEnded_ = true;  // "--", or the end
        return Next();
    }
    if (value == 1) return ParsedWord{kOperand, std::string(optarg)};
    const std::string word = storage_[std::max(optind - 1, 1)];
    if (value == ':') {
        const OptionDefinition& option = DefinitionFor(optopt);
        const bool typedLong = word.starts_with("--") || !option.shortName;
        throw UsageError("option " + (typedLong ? "--" + std::string(option.longName) : NameOf(option)) +
                         " needs a value");
    }
    if (value == '?') {
        // optopt is the option's value for a long option given a value it does not take, the
        // character for an unknown short option, and 0 for an unknown or ambiguous long one
        if (optopt != 0 && !Known(optopt)) {
            throw UsageError("unknown option -" + std::string(1, static_cast<char>(optopt)));
        }
        throw UsageError(LongOptionFault(word));
    }
    ParsedWord parsed{DefinitionFor(value).id, std::nullopt};
    if (optarg) parsed.value = optarg;
    return parsed;
}

std::string OptionParser::TakeWord(const std::string& option) {
    const int argc = static_cast<int>(argv_.size()) - 1;
    if (optind >= argc) throw UsageError(option + " needs another value");
    return storage_[optind++];
}

}  // namespace varnex::cli
