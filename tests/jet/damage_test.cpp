// Every real file, truncated at each page boundary and with every page overwritten in places
// by 00, FF and random bytes: opening, listing and reading every table must end in rows or a
// clear error, never a crash or a hang (this runs under AddressSanitizer in the asan preset).

#include <gtest/gtest.h>

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
    if (outcome.failures > 0) EXPECT_FALSE(outcome.firstError.empty());
}

class DamageSweepTest : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(DamageSweepTest, TruncatedAtEveryPage) {
    const Bytes original = kelvora::test::readFileBytes(GetParam());
    ASSERT_FALSE(original.empty());
    for (std::size_t pages = 0; pages * layout::kPageSize < original.size(); ++pages) {
        SCOPED_TRACE("pages kept: " + std::to_string(pages));
        openAndReadAll(Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(pages * layout::kPageSize)));
        // Cut inside the page as well: the partial page is ignored.
        openAndReadAll(Bytes(original.begin(),
                             original.begin() + static_cast<std::ptrdiff_t>(pages * layout::kPageSize + 1000)));
    }
}

TEST_P(DamageSweepTest, EveryPageOverwrittenInPlaces) {
    const Bytes original = kelvora::test::readFileBytes(GetParam());
    ASSERT_FALSE(original.empty());
    std::mt19937 random(20240611);
    // Offsets that hit the page header, slot table, TDEF header fields, the first column
    // descriptors and rows at the page end (where rows, map rows and LVAL data sit).
    static constexpr std::size_t kOffsets[] = {0x00, 0x02, 0x04, 0x0C, 0x0E, 0x14, 0x2D,
                                              0x37, 0x3F, 0x100, 0xFE0, 0xFF8};
    static constexpr std::size_t kWidths[] = {2, 16};
    const std::size_t pageCount = original.size() / layout::kPageSize;
    for (std::size_t page = 0; page < pageCount; ++page) {
        for (std::size_t offset : kOffsets) {
            for (std::size_t width : kWidths) {
                for (int pattern = 0; pattern < 3; ++pattern) {
                    SCOPED_TRACE("page " + std::to_string(page) + " offset " + std::to_string(offset) + " width " +
                                 std::to_string(width) + " pattern " + std::to_string(pattern));
                    Bytes bytes = original;
                    const std::size_t start = page * layout::kPageSize + offset;
                    for (std::size_t i = start; i < start + width && i < bytes.size(); ++i)
                        bytes[i] = pattern == 0 ? 0x00 : pattern == 1 ? 0xFF : static_cast<std::uint8_t>(random());
                    openAndReadAll(std::move(bytes));
                    if (HasFailure()) return;
                }
            }
        }
    }
}

std::string fileTestName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name;
    for (char c : info.param.stem().string()) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(RealFiles, DamageSweepTest, ::testing::ValuesIn(kelvora::test::realFiles()), fileTestName);

}  // namespace
