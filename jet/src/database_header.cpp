#include "database_header.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

#include "byte_reader.h"
#include "header_mask.h"
#include "layout.h"

namespace jet {

namespace {

constexpr std::string_view kJetMagic{"Standard Jet DB\0", 16};
constexpr std::string_view kMsisamMagic{"MSISAM Database\0", 16};
constexpr std::string_view kOnlyJet4 = "; only Access 2000-2003 (Jet 4) files can be opened";

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

Status notJet4(const std::string& fileName, const std::string& what) {
    return {StatusCode::notJet4, quoted(fileName) + " is " + what + std::string(kOnlyJet4)};
}

std::string aceName(std::uint8_t version) {
    switch (version) {
        case 2:
            return "an Access 2007 (ACE)";
        case 3:
            return "an Access 2010 (ACE)";
        case 4:
            return "an Access 2013 (ACE)";
        case 5:
            return "an Access 2016 (ACE)";
        case 6:
            return "an Access 2019 (ACE)";
        default:
            return "a newer Access (ACE, version " + std::to_string(version) + ")";
    }
}

// The password field carries a second mask made from the creation date: the date's whole
// days as a little-endian int32, repeated. A date that is not a number or does not fit an
// int32 (a damaged header) gives the pattern 0, so such a field reads as a password and the
// file is refused rather than misread.
std::array<std::uint8_t, 4> dateMask(double creationDate) {
    std::int32_t days = 0;
    if (std::isfinite(creationDate) && creationDate > -2147483648.0 && creationDate < 2147483648.0)
        days = static_cast<std::int32_t>(creationDate);
    const auto bits = static_cast<std::uint32_t>(days);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

}  // namespace

Result<DatabaseHeader> DatabaseHeader::read(const PageSource& source) {
    if (source.byteSize() == 0) return notJet4(source.name(), "empty, not an Access database");
    if (source.pageCount() == 0)
        return notJet4(source.name(), "too short to be an Access database (" +
                                          std::to_string(source.byteSize()) +
                                          " bytes, less than one page)");
    PageBuffer page{};
    JET_TRY(source.readPage(0, page));
    return parse(page, source.name());
}

Result<DatabaseHeader> DatabaseHeader::parse(std::span<const std::uint8_t> page0,
                                             const std::string& fileName) {
    if (page0.size() < layout::kPageSize)
        return notJet4(fileName, "too short to be an Access database");
    const std::string_view magic(reinterpret_cast<const char*>(page0.data() + layout::kHeaderMagic),
                                 layout::kHeaderMagicSize);
    const std::uint8_t version = page0[layout::kHeaderVersion];
    if (magic == kMsisamMagic) return notJet4(fileName, "a Microsoft Works (MSISAM) database");
    if (page0[0] != layout::kPageHeader || magic != kJetMagic)
        return notJet4(fileName, "not an Access database (no Jet signature on page 0)");
    if (version == layout::kVersionJet3) return notJet4(fileName, "an Access 97 (Jet 3) database");
    if (version != layout::kVersionJet4) return notJet4(fileName, aceName(version) + " database");

    std::array<std::uint8_t, layout::kPageSize> plain;
    std::memcpy(plain.data(), page0.data(), plain.size());
    applyHeaderMask(plain.data());
    const ByteReader in(plain);

    DatabaseHeader header;
    header.version = version;
    // Page 0 is a whole page here, so these reads cannot fail.
    in.u16At(layout::kHeaderCodePage, header.codePage);
    in.u32At(layout::kHeaderDatabaseKey, header.databaseKey);
    in.u16At(layout::kHeaderSortOrder, header.sortOrder);
    in.u8At(layout::kHeaderSortOrderVersion, header.sortOrderVersion);
    in.f64At(layout::kHeaderCreationDate, header.creationDate);

    const auto mask = dateMask(header.creationDate);
    std::array<std::uint8_t, layout::kHeaderPasswordSize> field;
    for (std::size_t i = 0; i < field.size(); ++i)
        field[i] = plain[layout::kHeaderPassword + i] ^ mask[i % mask.size()];
    for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(field[i] | (field[i + 1] << 8));
        if (c == 0) break;
        header.password.push_back(c);
    }
    // A field that is not all zeros is a password even if its first character is U+0000.
    if (header.password.empty()) {
        for (std::uint8_t byte : field) {
            if (byte != 0) {
                header.password.assign(1, u'?');
                break;
            }
        }
    }
    return header;
}

Status DatabaseHeader::checkSupported(const std::string& fileName) const {
    if (databaseKey != 0)
        return {StatusCode::unsupported,
                quoted(fileName) +
                    " is encrypted (database key set); encrypted databases cannot be opened"};
    if (!password.empty())
        return {StatusCode::unsupported,
                quoted(fileName) +
                    " is protected by a database password; password-protected "
                    "databases cannot be opened"};
    return {};
}

}  // namespace jet
