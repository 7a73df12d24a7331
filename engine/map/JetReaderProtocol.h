#pragma once

#include <cstdint>

namespace varnex::jet {

// What the Jet reader program writes to its standard output, all integers 32-bit little-
// endian:
//   kMagic, column count, each column name (length, UTF-8 bytes),
//   then per row kRow and per cell kNull or kText (length, UTF-8 bytes),
//   then kEnd; or, at any point, kError (length, message) and nothing more.
inline constexpr char kMagic[4] = {'V', 'X', 'J', '1'};
inline constexpr char kRow = 'R';
inline constexpr char kNull = 'N';
inline constexpr char kText = 'T';
inline constexpr char kEnd = 'E';
inline constexpr char kError = 'X';

// The file descriptor on which the reader finds the locked font map.
inline constexpr int kDatabaseDescriptor = 3;

}  // namespace varnex::jet
