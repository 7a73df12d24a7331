#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/InputList.h"
#include "files/FileIdentity.h"

namespace varnex {

// Where a name lies: its folder's identity and the name, so that two spellings of one
// folder (links, "..") give the same place.
using Place = std::pair<FileIdentity, std::string>;

// Places of names, each folder looked up once.
class Places {
public:
    std::optional<Place> Of(const std::filesystem::path& path);

private:
    std::map<std::string, std::optional<FileIdentity>> folders_;
};

// The inputs by identity, each looked up once; standard input counts when it is a file.
class InputIdentities {
public:
    explicit InputIdentities(const std::vector<Input>& inputs);
    // The shown name of the input that is the file `identity`, if any.
    std::optional<std::string> InputAt(const FileIdentity& identity) const;

private:
    std::map<FileIdentity, std::string> inputs_;
};

}  // namespace varnex
