#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnex::map {

// A command line that the subcommand cannot take: exit code 2, with the usage hint.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the subcommand's name, taken apart: options (given as "--name=value",
// "--name value" or "-o value") and the rest in order.
class MapArguments {
public:
    // valueOptions: the options that take a value; pairOption: one that takes two.
    // flags: the options that take no value.
    MapArguments(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
                 const std::string& pairOption = "", const std::vector<std::string>& flags = {});

    bool Flag(const std::string& name) const;

    std::optional<std::string> Option(const std::string& name) const;
    std::optional<std::pair<std::string, std::string>> Pair() const { return pair_; }
    const std::vector<std::string>& Positional() const { return positional_; }

    // The one map named, or defaultMap when none is; more than maxMaps names is a usage error.
    std::vector<std::filesystem::path> Maps(std::size_t minMaps, std::size_t maxMaps,
                                            const std::filesystem::path& defaultMap) const;

private:
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> flags_;
    std::optional<std::pair<std::string, std::string>> pair_;
    std::vector<std::string> positional_;
};

}  // namespace varnex::map
