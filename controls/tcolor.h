#pragma once

#include <cstdint>

#include <QColor>

namespace controls {

// A colour as the window definitions give it: a 24-bit number in blue-green-red order
// (0x00BBGGRR), so 128 is maroon and 8388608 navy. Bits above the 24 are ignored.
QColor tColor(std::uint32_t blueGreenRed);

}  // namespace controls
