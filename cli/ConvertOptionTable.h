#pragma once

#include <string>
#include <vector>

#include "ConvertOptions.h"
#include "OptionParser.h"

namespace varnex::cli {

// What the completion offers for an option's value.
enum class ValueKind { None, Font, File, Folder, Free };

// One option of `varnex`: its spellings, how it is taken, its lines in --help and what the
// completion offers after it. The parser, the help and the completion are all made from the
// one table, in the order of the help.
struct ConvertOption {
    OptionDefinition definition;  // its id is its place in the table
    ValueKind value;
    const char* help;  // its lines of --help, each ending in a line break
    void (*take)(ConvertOptions& options, const std::string& value);
};

const std::vector<ConvertOption>& ConvertOptionTable();

// The definitions for the parser.
std::vector<OptionDefinition> ConvertOptionDefinitions();

// "-f --from -t --to ...": every spelling, in the table's order.
std::string ConvertOptionSpellings();
// "-f | --from | -t | --to": the spellings of the options whose value is of one kind.
std::string ConvertOptionSpellings(ValueKind value);

}  // namespace varnex::cli
