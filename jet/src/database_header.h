#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "jet/status.h"
#include "page_source.h"

namespace jet {

// Page 0 of a Jet 4 file, with the masked fields already unmasked.
struct DatabaseHeader {
    std::uint8_t version = 0;
    std::uint16_t codePage = 0;
    std::uint32_t databaseKey = 0;  // 0 = pages not encrypted
    std::u16string password;        // empty when the database has none
    std::uint16_t sortOrder = 0;
    std::uint8_t sortOrderVersion = 0;
    double creationDate = 0;  // days since 1899-12-30

    // Reads page 0 of `source`. Fails with notJet4 for files of another format (Jet 3, ACE,
    // MSISAM, not a database at all, shorter than a page) and corrupt when page 0 cannot be
    // read; messages name the file. Does not judge password or encryption: see checkSupported.
    static Result<DatabaseHeader> read(const PageSource& source);
    static Result<DatabaseHeader> parse(std::span<const std::uint8_t> page0,
                                        const std::string& fileName);

    // unsupported when the file has a database password or is encrypted.
    Status checkSupported(const std::string& fileName) const;
};

}  // namespace jet
