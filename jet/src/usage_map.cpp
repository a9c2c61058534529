#include "usage_map.h"

#include "byte_reader.h"
#include "layout.h"

namespace jet {

namespace {

// Appends the pages whose bits are set in `bitmap`, bit i standing for page `firstPage + i`.
Status collectBits(std::span<const std::uint8_t> bitmap, std::uint64_t firstPage,
                   std::uint32_t pageCount, std::vector<std::uint32_t>& pages,
                   const std::string& where) {
    for (std::size_t byteIndex = 0; byteIndex < bitmap.size(); ++byteIndex) {
        const std::uint8_t bits = bitmap[byteIndex];
        if (bits == 0) continue;
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((bits & (1u << bit)) == 0) continue;
            const std::uint64_t page = firstPage + byteIndex * 8 + bit;
            if (page == 0 || page >= pageCount)
                return corrupt("usage map names page " + std::to_string(page) +
                               ", outside the file's pages 1.." +
                               std::to_string(pageCount == 0 ? 0 : pageCount - 1) + " (" + where +
                               ")");
            pages.push_back(static_cast<std::uint32_t>(page));
        }
    }
    return {};
}

}  // namespace

Result<std::vector<std::uint32_t>> UsageMap::readPages(const PageSource& source, RowPointer pointer,
                                                       const std::string& where) {
    const std::string mapWhere = "usage map of " + where;
    PageBuffer buffer{};
    auto row = readPointedRow(source, pointer, buffer, mapWhere);
    JET_TRY(row);
    const ByteReader in(*row);
    std::uint8_t kind = 0;
    if (!in.u8At(0, kind)) return corrupt("empty usage map row (" + mapWhere + ")");

    std::vector<std::uint32_t> pages;
    if (kind == layout::kUsageMapInline) {
        std::uint32_t firstPage = 0;
        std::span<const std::uint8_t> bitmap;
        if (!in.u32At(layout::kUsageMapInlineStart, firstPage) ||
            !in.bytesAt(layout::kUsageMapInlineBitmap,
                        in.size() - std::min(in.size(), layout::kUsageMapInlineBitmap), bitmap))
            return corrupt("inline usage map row of " + std::to_string(in.size()) +
                           " bytes is too short (page " + std::to_string(pointer.pageNumber) +
                           ", " + mapWhere + ")");
        JET_TRY(collectBits(bitmap, firstPage, source.pageCount(), pages, mapWhere));
        return pages;
    }
    if (kind != layout::kUsageMapReference)
        return corrupt("usage map row of unknown kind " + hexOffset(kind) + " (page " +
                       std::to_string(pointer.pageNumber) + ", " + mapWhere + ")");

    // Copy the pointers out first: `buffer` is reused for the bitmap pages.
    std::vector<std::uint32_t> bitmapPages;
    for (std::size_t k = 0; k < layout::kUsageMapReferenceMaxPages; ++k) {
        std::uint32_t page = 0;
        if (!in.u32At(layout::kUsageMapReferencePages + 4 * k, page)) break;
        bitmapPages.push_back(page);
    }
    PageBuffer bitmapPage{};
    for (std::size_t k = 0; k < bitmapPages.size(); ++k) {
        const std::uint32_t page = bitmapPages[k];
        if (page == 0) continue;
        if (page >= source.pageCount())
            return corrupt("reference usage map points at page " + std::to_string(page) +
                           " past the end (" + std::to_string(source.pageCount()) + " pages, " +
                           mapWhere + ")");
        JET_TRY(source.readPage(page, bitmapPage));
        if (bitmapPage[0] != layout::kPageUsageBitmap)
            return corrupt("reference usage map points at page " + std::to_string(page) +
                           ", which is not a usage bitmap page (" + mapWhere + ")");
        const std::span<const std::uint8_t> bitmap(
            bitmapPage.data() + layout::kUsageBitmapPageData,
            layout::kPageSize - layout::kUsageBitmapPageData);
        JET_TRY(collectBits(bitmap, std::uint64_t{k} * layout::kUsageBitmapPagesPerMapPage,
                            source.pageCount(), pages, mapWhere));
    }
    return pages;
}

}  // namespace jet
