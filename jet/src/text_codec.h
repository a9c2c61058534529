#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

// Text as Jet 4 stores it: UTF-16LE, or the compressed form that starts with FF FE and then
// alternates between one-byte characters (U+0000..U+00FF) and UTF-16LE runs, a 00 byte
// switching between the two.

// Decodes either form. Never fails: an odd trailing byte is dropped.
std::u16string decodeText(std::span<const std::uint8_t> bytes);
// Appends the decoded text to `out` (lets a scan reuse one buffer).
void decodeTextInto(std::span<const std::uint8_t> bytes, std::u16string& out);

// Encodes text; with `allowCompression` the compressed form is used when it is shorter and
// possible (no character with a zero low byte, which would read as a mode switch, and no
// U+0000). A plain value that would begin with U+FEFF is always compressed or, when it cannot
// be, stored plain all the same (readers then see a compressed value: callers avoid it).
std::vector<std::uint8_t> encodeText(std::u16string_view text, bool allowCompression);

}  // namespace jet
