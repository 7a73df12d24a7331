#pragma once

#include <string_view>

#include "detect/FontReadings.h"

namespace varnex {

// A quick look, without the language models, at whether a sample may be in another font than
// the one named: UTF-8 given as a legacy font, codes that read as signs and box drawing, a
// text of capitals (KOI8-R read as Windows-1251), ill-formed UTF-8 given as UTF-8. False
// means that it reads well enough in the named font to need no closer look.
bool MayBeMisread(const FontReading& named, std::string_view sample);

}  // namespace varnex
