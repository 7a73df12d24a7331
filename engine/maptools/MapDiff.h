#pragma once

#include <string>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

struct CodeDifference {
    int code;  // the source code, or the character's code point where the source is the Unicode font
    std::string before;  // the entry in the first map: one 8-bit code per character
    std::string after;
};

struct PairDifference {
    std::string source;
    std::string target;
    std::string failureBefore;  // why the load fails in one map and not in the other
    std::string failureAfter;
    std::vector<CodeDifference> codes;
};

struct MapDifferences {
    std::vector<std::string> onlyBefore;  // fonts of one map that the other lacks
    std::vector<std::string> onlyAfter;
    std::vector<PairDifference> pairs;
    bool Empty() const { return onlyBefore.empty() && onlyAfter.empty() && pairs.empty(); }
};

// Every ordered pair of fonts that both maps have, loaded from each by the load's own rule,
// and the codes whose entries differ.
MapDifferences DiffFontTables(const FontTable& before, const FontTable& after);

}  // namespace varnex::map
