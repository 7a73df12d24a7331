#pragma once

#include <pybind11/pybind11.h>

namespace varnex::python {

// Adds Codec, the encode and decode that Python's codecs call for one font, and
// make_codec(map, font, decode, encode), which makes one; `decode` and `encode` are the
// module's own Python functions, given the calls that meet a code without an entry.
void AddCodecType(pybind11::module_& module);

}  // namespace varnex::python
