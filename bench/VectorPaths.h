#pragma once

#include <cstdlib>
#include <vector>

#include "convert/CharacterRule.h"

namespace varnex::bench {

// The paths to measure: the one VARNEX_VECTOR names, or every one this processor has.
// Throws Failure for a path the processor lacks.
inline std::vector<VectorLevel> PathsToMeasure() {
    ApplyVectorChoice();
    const char* forced = std::getenv("VARNEX_VECTOR");
    if (forced && *forced) return {ChosenVectorLevel()};
    return VectorLevelsHere();
}

}  // namespace varnex::bench
