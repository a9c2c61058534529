#include "build/usage_map_builder.h"

#include <algorithm>
#include <map>

#include "build/byte_writer.h"
#include "layout.h"

namespace jet::build {

namespace {

constexpr std::uint32_t kInlineWindow = 512;  // inline maps start on a multiple of this

std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

void setBit(std::span<std::uint8_t> bitmap, std::size_t bit) {
    bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | (1u << (bit % 8)));
}

std::vector<std::uint8_t> inlineMapRow(std::uint32_t startPage, std::size_t bitmapSize) {
    std::vector<std::uint8_t> row(layout::kUsageMapInlineBitmap + bitmapSize, 0);
    ByteWriter out(row);
    out.u8(layout::kUsageMapInline);
    out.u32(startPage);
    return row;
}

Page bitmapPage() {
    Page page{};
    page[0] = layout::kPageUsageBitmap;
    page[1] = layout::kPageMarker;
    return page;
}

// Writes the bitmap pages of a reference map, one per 32736-page range that has a set bit,
// and returns the map row pointing at them.
Result<std::vector<std::uint8_t>> referenceMap(const std::map<std::size_t, Page>& bitmaps,
                                               const std::vector<std::uint32_t>& bitmapPageNumbers,
                                               PageFile& file) {
    std::vector<std::uint8_t> row(layout::kUsageMapReferenceRowSize, 0);
    ByteWriter out(row);
    out.u8(layout::kUsageMapReference);
    std::size_t next = 0;
    for (const auto& [range, page] : bitmaps) {
        const std::uint32_t pageNumber = bitmapPageNumbers[next++];
        JET_TRY(file.write(pageNumber, page));
        out.u32At(1 + 4 * range, pageNumber);
    }
    if (!out.ok()) return Status(StatusCode::invalidArgument, "usage map row overflow");
    return row;
}

}  // namespace

Result<std::vector<std::uint8_t>> buildUsageMap(std::vector<std::uint32_t> pages, PageFile& file,
                                                std::size_t maxInlineBitmap) {
    std::sort(pages.begin(), pages.end());
    if (pages.empty()) return inlineMapRow(0, layout::kUsageMapDefaultBitmapSize);

    const std::uint32_t start = pages.front() / kInlineWindow * kInlineWindow;
    const std::size_t span = static_cast<std::size_t>(pages.back() - start) + 1;
    const std::size_t bitmapSize =
        std::max(layout::kUsageMapDefaultBitmapSize,
                 roundUp((span + 7) / 8, layout::kUsageMapBitmapGrowStep));
    if (bitmapSize <= maxInlineBitmap) {
        std::vector<std::uint8_t> row = inlineMapRow(start, bitmapSize);
        auto bitmap = std::span(row).subspan(layout::kUsageMapInlineBitmap);
        for (std::uint32_t page : pages) setBit(bitmap, page - start);
        return row;
    }

    std::map<std::size_t, Page> bitmaps;
    for (std::uint32_t page : pages) {
        const std::size_t range = page / layout::kUsageBitmapPagesPerMapPage;
        if (range >= layout::kUsageMapReferenceMaxPages)
            return Status(StatusCode::invalidArgument,
                          "page " + std::to_string(page) + " is beyond a usage map's reach");
        auto [it, added] = bitmaps.try_emplace(range, bitmapPage());
        setBit(std::span(it->second).subspan(layout::kUsageBitmapPageData),
               page % layout::kUsageBitmapPagesPerMapPage);
    }
    std::vector<std::uint32_t> numbers;
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        auto number = file.allocate();
        JET_TRY(number);
        numbers.push_back(*number);
    }
    return referenceMap(bitmaps, numbers, file);
}

Status writeGlobalUsageMap(PageFile& file, std::size_t maxInlineBitmap) {
    constexpr std::size_t kSecondRowSize =
        layout::kUsageMapInlineBitmap + layout::kUsageMapDefaultBitmapSize;
    constexpr std::size_t kSlots = 2 * 2;
    // Both rows must share page 1.
    const std::size_t pageLimit =
        layout::kDataInitialFreeSpace - kSlots - kSecondRowSize - layout::kUsageMapInlineBitmap;
    maxInlineBitmap = std::min(maxInlineBitmap, pageLimit / layout::kUsageMapBitmapGrowStep *
                                                    layout::kUsageMapBitmapGrowStep);

    std::vector<std::uint8_t> globalRow;
    const std::size_t inlineSize =
        std::max(layout::kUsageMapDefaultBitmapSize,
                 roundUp((file.pageCount() + 7) / 8, layout::kUsageMapBitmapGrowStep));
    if (inlineSize <= maxInlineBitmap) {
        globalRow = inlineMapRow(0, inlineSize);
        auto bitmap = std::span(globalRow).subspan(layout::kUsageMapInlineBitmap);
        for (std::size_t page = file.pageCount(); page < inlineSize * 8; ++page)
            setBit(bitmap, page);
    } else {
        // The bitmap pages are pages of the file too: count them before marking the free tail.
        const std::size_t perPage = layout::kUsageBitmapPagesPerMapPage;
        std::size_t count = (file.pageCount() + perPage - 1) / perPage;
        while ((file.pageCount() + count + perPage - 1) / perPage > count) ++count;
        if (count > layout::kUsageMapReferenceMaxPages)
            return {StatusCode::invalidArgument,
                    "the database has more pages than a usage map can cover"};
        std::vector<std::uint32_t> numbers;
        for (std::size_t i = 0; i < count; ++i) {
            auto number = file.allocate();
            JET_TRY(number);
            numbers.push_back(*number);
        }
        std::map<std::size_t, Page> bitmaps;
        for (std::size_t range = 0; range < count; ++range) {
            Page page = bitmapPage();
            auto bitmap = std::span(page).subspan(layout::kUsageBitmapPageData);
            for (std::size_t bit = 0; bit < perPage; ++bit) {
                if (range * perPage + bit >= file.pageCount()) setBit(bitmap, bit);
            }
            bitmaps.emplace(range, page);
        }
        auto row = referenceMap(bitmaps, numbers, file);
        JET_TRY(row);
        globalRow = std::move(*row);
    }

    DataPageBuilder page(layout::kGlobalUsageMapPage,
                         DataPageBuilder::ownerTable(layout::kGlobalUsageMapPageOwner));
    page.addRow(globalRow);
    page.addRow(inlineMapRow(0, layout::kUsageMapDefaultBitmapSize));
    return file.write(layout::kGlobalUsageMapPage, page.bytes());
}

Result<std::uint32_t> UsageMapPageWriter::add(const std::vector<std::uint8_t>& row) {
    if (m_page && !m_page->fits(row.size())) JET_TRY(finish());
    if (!m_page) {
        auto number = m_file.allocate();
        JET_TRY(number);
        m_page.emplace(*number, DataPageBuilder::ownerTable(0));
    }
    const std::uint8_t rowNumber = m_page->addRow(row);
    return rowPointer(m_page->pageNumber(), rowNumber);
}

Status UsageMapPageWriter::finish() {
    if (!m_page) return {};
    Status status = m_file.write(m_page->pageNumber(), m_page->bytes());
    m_page.reset();
    return status;
}

}  // namespace jet::build
