#include "OptionParser.h"

#include <algorithm>

namespace varnex::cli {

namespace {

// getopt_long's value for an option without a short name: past every character.
constexpr int kFirstLongValue = 256;

int ValueOf(const OptionSpec& spec, std::size_t index) {
    return spec.shortName ? static_cast<unsigned char>(spec.shortName)
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

OptionParser::OptionParser(const std::vector<std::string>& words, std::vector<OptionSpec> specs)
    : storage_(words), specs_(std::move(specs)) {
    storage_.insert(storage_.begin(), "varnex");
    for (auto& word : storage_) argv_.push_back(word.data());
    argv_.push_back(nullptr);
    // "-": words that are no options come back in their place; ":": a missing value is told apart
    shortOptions_ = "-:";
    for (std::size_t i = 0; i < specs_.size(); ++i) {
        const OptionSpec& spec = specs_[i];
        longOptions_.push_back({spec.longName, HasArgument(spec.takes), nullptr, ValueOf(spec, i)});
        if (!spec.shortName) continue;
        shortOptions_ += spec.shortName;
        if (spec.takes != Takes::Nothing) shortOptions_ += ':';
        if (spec.takes == Takes::OptionalValue) shortOptions_ += ':';
    }
    longOptions_.push_back({nullptr, 0, nullptr, 0});
    optind = 0;  // glibc starts afresh
    opterr = 0;
}

bool OptionParser::Known(int value) const {
    for (std::size_t i = 0; i < specs_.size(); ++i) {
        if (ValueOf(specs_[i], i) == value) return true;
    }
    return false;
}

const OptionSpec& OptionParser::SpecFor(int value) const {
    for (std::size_t i = 0; i < specs_.size(); ++i) {
        if (ValueOf(specs_[i], i) == value) return specs_[i];
    }
    throw UsageError("unknown option");
}

std::string OptionParser::NameOf(const OptionSpec& spec) const {
    return spec.shortName ? std::string("-") + spec.shortName : std::string("--") + spec.longName;
}

std::string OptionParser::LongOptionFault(const std::string& word) const {
    const std::string name = LongName(word);
    std::vector<std::string> candidates;
    for (const OptionSpec& spec : specs_) {
        const std::string full = spec.longName;
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
        const OptionSpec& spec = SpecFor(optopt);
        const bool typedLong = word.starts_with("--") || !spec.shortName;
        throw UsageError("option " + (typedLong ? "--" + std::string(spec.longName) : NameOf(spec)) +
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
    ParsedWord parsed{SpecFor(value).id, std::nullopt};
    if (optarg) parsed.value = optarg;
    return parsed;
}

std::string OptionParser::TakeWord(const std::string& option) {
    const int argc = static_cast<int>(argv_.size()) - 1;
    if (optind >= argc) throw UsageError(option + " needs another value");
    return storage_[optind++];
}

}  // namespace varnex::cli
