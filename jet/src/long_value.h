#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jet/status.h"
#include "page_source.h"

namespace jet {

// A memo or OLE value as a row stores it: a 12-byte descriptor (length and storage kind, a row
// pointer to the first LVAL row, a chain stamp), followed by the data itself when it is inline.
struct LongValueDescriptor {
    enum class Kind { inlineData, singleRow, chain };
    Kind kind = Kind::inlineData;
    std::uint32_t length = 0;    // bytes as stored
    std::uint32_t firstRow = 0;  // raw row pointer
    std::span<const std::uint8_t> inlineBytes;

    // `field` is the column's bytes in the row (descriptor + inline data). Errors: corrupt.
    static Result<LongValueDescriptor> parse(std::span<const std::uint8_t> field,
                                             const std::string& where);
};

// Reads the whole value `field` describes: inline data, one LVAL row, or a chain of LVAL rows
// concatenated. The result is never cut short: a chain that ends before the stated length, runs
// on after it, loops, or points outside the file or at a page that is not an LVAL page is an
// error (corrupt, naming the page and `where`).
Result<std::vector<std::uint8_t>> readLongValue(const PageSource& source,
                                                std::span<const std::uint8_t> field,
                                                const std::string& where);

}  // namespace jet
