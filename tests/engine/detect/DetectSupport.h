#pragma once

#include <string>

#include "detect/Detector.h"
#include "map/LoadedMap.h"

namespace varnex::test {

// The shipped map, and one detector made from it for all tests.
const LoadedMap& ShippedMap();
const Detector& ShippedDetector();

// UTF-8 text written in a font of the shipped map.
std::string In(const std::string& font, const std::string& utf8);

// Sentences in each language the detector knows, for readings that must come out right.
extern const char kRussian[], kUkrainian[], kBelarusian[], kBulgarian[], kSerbian[], kMacedonian[];

}  // namespace varnex::test
