#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "data_page.h"
#include "jet/status.h"
#include "write/transaction.h"

namespace jet {

// What a set bit means in a usage map.
enum class MapSense {
    members,    // the page belongs to the map (owned pages, pages with free space)
    freePages,  // the page is free (the global map on page 1)
};

// Sets the bit of `pageNumber` in the usage map whose row `mapRow` names to `bit`. An inline
// map that does not reach the page first slides its window (start page a multiple of 512), then
// grows its row in 4-byte steps (re-laying the rows of its page), and when its page has no room
// left becomes a reference map (bitmap pages allocated at the end of the file). Bits a grown
// global map newly covers say "free" for pages past the end of the file. Errors: corrupt for a
// damaged map row, unsupported when the map cannot reach the page; `where` names the owner.
Status setUsageMapBit(Transaction& transaction, RowPointer mapRow, std::uint32_t pageNumber,
                      bool bit, MapSense sense, const std::string& where);

// Appends a zeroed page to the file and marks it used in the global map (page 1, row 0).
Result<std::uint32_t> allocatePage(Transaction& transaction);

// Replaces row `rowIndex` of a data page with `row` (any size), moving the rows after it so
// that rows stay packed from the end of the page in slot order; slot flags and row numbers do
// not change, the free-space counter is recomputed. Returns false (page unchanged) when the
// rows no longer fit. Errors: corrupt when the page's rows overlap or leave the page.
Result<bool> replaceRowBytes(PageBuffer& page, std::uint32_t pageNumber, std::uint16_t rowIndex,
                             std::span<const std::uint8_t> row, const std::string& where);

}  // namespace jet
