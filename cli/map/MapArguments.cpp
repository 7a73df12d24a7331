#include "MapArguments.h"

#include <algorithm>

namespace varnex::map {

namespace {

bool Takes(const std::vector<std::string>& options, const std::string& name) {
    return std::find(options.begin(), options.end(), name) != options.end();
}

}  // namespace

MapArguments::MapArguments(const std::vector<std::string>& words,
                           const std::vector<std::string>& valueOptions, const std::string& pairOption,
                           const std::vector<std::string>& flags) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-') {
            positional_.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (!pairOption.empty() && name == pairOption && equals == std::string::npos) {
            if (i + 2 >= words.size()) throw UsageError(name + " needs two font names");
            pair_ = std::make_pair(words[i + 1], words[i + 2]);
            i += 2;
        } else if (Takes(flags, word)) {
            flags_.push_back(word);
        } else if (!Takes(valueOptions, name)) {
            throw UsageError("unknown option " + name);
        } else if (equals != std::string::npos) {
            options_.emplace_back(name, word.substr(equals + 1));
        } else if (i + 1 < words.size()) {
            options_.emplace_back(name, words[++i]);
        } else {
            throw UsageError(name + " needs a value");
        }
    }
}

bool MapArguments::Flag(const std::string& name) const { return Takes(flags_, name); }

std::optional<std::string> MapArguments::Option(const std::string& name) const {
    std::optional<std::string> value;
    for (const auto& [key, given] : options_) {
        if (key == name) value = given;
    }
    return value;
}

std::vector<std::filesystem::path> MapArguments::Maps(std::size_t minMaps, std::size_t maxMaps,
                                                      const std::filesystem::path& defaultMap) const {
    if (positional_.size() > maxMaps)
        throw UsageError("too many file names (\"" + positional_[maxMaps] + "\")");
    if (positional_.size() < minMaps) throw UsageError("missing file name");
    if (positional_.empty()) return {defaultMap};
    return {positional_.begin(), positional_.end()};
}

}  // namespace varnex::map
