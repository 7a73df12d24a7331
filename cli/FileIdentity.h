#pragma once

#include <sys/stat.h>

#include <compare>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "InputList.h"

namespace varnex::cli {

// A file by device and inode: the same whatever the spelling, link or hard link.
struct Identity {
    dev_t device;
    ino_t inode;
    auto operator<=>(const Identity&) const = default;
};

std::optional<Identity> IdentityOfPath(const std::filesystem::path& path);
// Only a regular file counts: a terminal or a pipe is no file that could be overwritten.
std::optional<Identity> IdentityOfDescriptor(int fd);

// Where a name lies: its folder's identity and the name, so that two spellings of one
// folder (links, "..") give the same place.
using Place = std::pair<Identity, std::string>;

// Places of names, each folder looked up once.
class Places {
public:
    std::optional<Place> Of(const std::filesystem::path& path);

private:
    std::map<std::string, std::optional<Identity>> folders_;
};

// The inputs by identity, each looked up once; standard input counts when it is a file.
class InputIdentities {
public:
    explicit InputIdentities(const std::vector<Input>& inputs);
    // The shown name of the input that is the file `identity`, if any.
    std::optional<std::string> InputAt(const Identity& identity) const;

private:
    std::map<Identity, std::string> inputs_;
};

}  // namespace varnex::cli
