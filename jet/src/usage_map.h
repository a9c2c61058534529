#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data_page.h"
#include "jet/status.h"
#include "page_source.h"

namespace jet {

// A usage map: the set of pages a table, index or long-value column owns (or has free space
// on), stored as a row on a data page. The row is either inline (0x00, start page + bitmap) or
// a reference map (0x01, up to 17 pointers to bitmap pages of type 0x05).
class UsageMap {
public:
    // Reads the map whose row `pointer` names and returns its pages in ascending order. A page
    // outside the file (page 0 included) is an error, as is a reference to a page that is not
    // a bitmap page. `where` names the owner for messages ("table ejaz").
    static Result<std::vector<std::uint32_t>> readPages(const PageSource& source,
                                                        RowPointer pointer,
                                                        const std::string& where);
};

}  // namespace jet
