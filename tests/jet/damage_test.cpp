// Every real file, truncated at each page boundary and with every page overwritten in places
// by 00, FF and random bytes: opening, listing and reading every table must end in rows or a
// clear error, never a crash or a hang (this runs under AddressSanitizer in the asan preset).

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "layout.h"
#include "read_all.h"
#include "test_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace layout = jet::layout;

// Opens and reads everything; a failure must carry a message.
void openAndReadAll(Bytes bytes) {
    auto database = kelvora::test::openBytesIgnoringPassword(std::move(bytes), "damaged.mdb");
    if (!database.ok()) {
        EXPECT_FALSE(database.status().message().empty());
        return;
    }
    const auto outcome = kelvora::test::readEverything(**database);
    if (outcome.failures > 0) {
        EXPECT_FALSE(outcome.firstError.empty());
    }
}

class DamageSweepTest : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(DamageSweepTest, TruncatedAtEveryPage) {
    const Bytes original = kelvora::test::readFileBytes(GetParam());
    ASSERT_FALSE(original.empty());
    for (std::size_t pages = 0; pages * layout::kPageSize < original.size(); ++pages) {
        SCOPED_TRACE("pages kept: " + std::to_string(pages));
        openAndReadAll(Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(
                                                                      pages * layout::kPageSize)));
        // Cut inside the page as well: the partial page is ignored.
        openAndReadAll(Bytes(
            original.begin(),
            original.begin() + static_cast<std::ptrdiff_t>(pages * layout::kPageSize + 1000)));
    }
}

// Offsets worth damaging on a page of each kind: the fields the reader trusts most.
std::vector<std::size_t> offsetsFor(std::uint8_t pageType, const Bytes& page) {
    switch (pageType) {
        case layout::kPageHeader:
            return {0x00, layout::kHeaderVersion, layout::kHeaderDatabaseKey,
                    layout::kHeaderPassword, layout::kHeaderCreationDate};
        case layout::kPageData: {
            // The slot table, and the first row (a table row, map row or LVAL chunk).
            const std::size_t firstRow =
                (page[layout::kDataRowSlots] | (page[layout::kDataRowSlots + 1] << 8)) &
                layout::kRowSlotOffsetMask;
            return {layout::kDataOwner,
                    layout::kDataRowCount,
                    layout::kDataRowSlots,
                    firstRow,
                    std::min<std::size_t>(firstRow + 4, layout::kPageSize - 16),
                    layout::kPageSize - 16};
        }
        case layout::kPageTableDefinition:
            return {layout::kTdefNextPage,
                    layout::kTdefMaxColumns,
                    layout::kTdefColumnCount,
                    layout::kTdefRealIndexCount,
                    layout::kTdefOwnedPagesMap,
                    layout::kTdefBody,
                    0x70,
                    0x100};
        case layout::kPageUsageBitmap:
            return {0x00, layout::kUsageBitmapPageData};
        default:
            return {0x00};  // index pages and others: the reader only looks at the type
    }
}

TEST_P(DamageSweepTest, EveryPageOverwrittenInPlaces) {
    const Bytes original = kelvora::test::readFileBytes(GetParam());
    ASSERT_FALSE(original.empty());
    std::mt19937 random(20240611);
    // Two bytes of 00 or FF (a count or offset at its extremes), or sixteen random bytes.
    struct Damage {
        std::size_t width;
        int pattern;  // 0: 00, 1: FF, 2: random
    };
    static constexpr Damage kDamages[] = {{2, 0}, {2, 1}, {16, 2}};
    const std::size_t pageCount = original.size() / layout::kPageSize;
    for (std::size_t page = 0; page < pageCount; ++page) {
        const std::size_t base = page * layout::kPageSize;
        const Bytes pageBytes(
            original.begin() + static_cast<std::ptrdiff_t>(base),
            original.begin() + static_cast<std::ptrdiff_t>(base + layout::kPageSize));
        for (std::size_t offset : offsetsFor(pageBytes[0], pageBytes)) {
            for (const Damage& damage : kDamages) {
                SCOPED_TRACE("page " + std::to_string(page) + " offset " + std::to_string(offset) +
                             " width " + std::to_string(damage.width) + " pattern " +
                             std::to_string(damage.pattern));
                Bytes bytes = original;
                for (std::size_t i = base + offset;
                     i < base + offset + damage.width && i < base + layout::kPageSize; ++i)
                    bytes[i] = damage.pattern == 0   ? 0x00
                               : damage.pattern == 1 ? 0xFF
                                                     : static_cast<std::uint8_t>(random());
                openAndReadAll(std::move(bytes));
                if (HasFailure()) return;
            }
        }
    }
}

std::string fileTestName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name;
    for (char c : info.param.stem().string())
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(RealFiles, DamageSweepTest,
                         ::testing::ValuesIn(kelvora::test::realFiles()), fileTestName);

}  // namespace
