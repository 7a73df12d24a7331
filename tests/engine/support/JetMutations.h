#pragma once

#include <cstdint>
#include <string>

namespace varnex::test {

// A damaged copy of a good Jet file, the same for the same seed: cut short (at a page
// boundary or anywhere), bytes flipped, or a page zeroed.
std::string MutateJet(const std::string& good, std::uint32_t seed);

}  // namespace varnex::test
