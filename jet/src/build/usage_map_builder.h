#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "build/data_page_builder.h"
#include "build/page_file.h"
#include "jet/status.h"

namespace jet::build {

// The largest bitmap an inline map row may carry before the map becomes a reference map
// (type-0x05 bitmap pages): a 4057-byte row, under the 4060-byte row limit, covering 32416
// pages (about 130 MB). Small tables get Access's usual 64-byte bitmap (512 pages).
inline constexpr std::size_t kMaxInlineBitmapSize = 4052;

// Encodes the usage map of `pages` (any order, no duplicates) as the row a TDEF or long-value
// list points at: an inline map (start page a multiple of 512, bitmap at least 64 bytes, grown
// in 4-byte steps) when the pages' span fits `maxInlineBitmap` bytes, else a reference map
// whose bitmap pages are allocated and written through `file`.
Result<std::vector<std::uint8_t>> buildUsageMap(std::vector<std::uint32_t> pages, PageFile& file,
                                                std::size_t maxInlineBitmap = kMaxInlineBitmapSize);

// Page 1: the global map (row 0, a set bit is a free page: every page the file has is in use,
// the bits past its end are set) and the second, empty map Jet keeps beside it (row 1).
// Call after every other page is allocated; a file too large for an inline global map gets a
// reference map, whose bitmap pages are allocated here. Writes page 1.
Status writeGlobalUsageMap(PageFile& file, std::size_t maxInlineBitmap = kMaxInlineBitmapSize);

// Places usage-map rows on data pages with owner 0, opening a new page when one is full.
class UsageMapPageWriter {
public:
    explicit UsageMapPageWriter(PageFile& file) : m_file(file) {}
    // Returns the row pointer of the stored row.
    Result<std::uint32_t> add(const std::vector<std::uint8_t>& row);
    Status finish();

private:
    PageFile& m_file;
    std::optional<DataPageBuilder> m_page;
};

}  // namespace jet::build
