#include "write/usage_map_editor.h"

#include <algorithm>
#include <map>
#include <vector>

#include "build/byte_writer.h"
#include "byte_reader.h"
#include "layout.h"

namespace jet {

namespace {

constexpr std::uint32_t kInlineWindow = 512;  // an inline map's start page is a multiple of this
// The longest inline bitmap we let a map row grow to (a 4057-byte row, under the row limit).
constexpr std::size_t kMaxInlineBitmap = 4052;
constexpr std::size_t kSlotSize = 2;

std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

bool testBit(std::span<const std::uint8_t> bitmap, std::size_t bit) {
    return (bitmap[bit / 8] >> (bit % 8)) & 1;
}

void putBit(std::span<std::uint8_t> bitmap, std::size_t bit, bool value) {
    const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
    bitmap[bit / 8] =
        static_cast<std::uint8_t>(value ? (bitmap[bit / 8] | mask) : (bitmap[bit / 8] & ~mask));
}

Status mapError(const std::string& what, RowPointer mapRow, const std::string& where) {
    return corrupt(what + " (usage map at page " + std::to_string(mapRow.pageNumber) + " row " +
                   std::to_string(mapRow.rowIndex) + ", " + where + ")");
}

// The map row's bytes, inside the transaction's copy of its page.
Result<std::span<std::uint8_t>> mapRowBytes(Transaction& transaction, RowPointer mapRow,
                                            const std::string& where) {
    if (mapRow.pageNumber == 0 || mapRow.pageNumber >= transaction.pageCount())
        return mapError("map row on a page outside the file", mapRow, where);
    auto page = transaction.page(mapRow.pageNumber);
    JET_TRY(page);
    auto view = DataPage::open(**page, mapRow.pageNumber, "usage map of " + where);
    JET_TRY(view);
    auto row = view->row(mapRow.rowIndex, "usage map of " + where);
    JET_TRY(row);
    const std::size_t offset = static_cast<std::size_t>(row->data() - (*page)->data());
    return std::span<std::uint8_t>((*page)->data() + offset, row->size());
}

PageBuffer newBitmapPage() {
    PageBuffer page{};
    page[0] = layout::kPageUsageBitmap;
    page[1] = layout::kPageMarker;
    return page;
}

// Turns an inline map row of at least 69 bytes into a reference map holding `pages`.
Status convertToReference(Transaction& transaction, RowPointer mapRow,
                          const std::vector<std::uint32_t>& pages, const std::string& where) {
    std::map<std::size_t, std::vector<std::uint32_t>> ranges;
    for (const std::uint32_t page : pages) {
        const std::size_t range = page / layout::kUsageBitmapPagesPerMapPage;
        if (range >= layout::kUsageMapReferenceMaxPages)
            return {StatusCode::unsupported, "page " + std::to_string(page) +
                                                 " is beyond the reach of a usage map (" + where +
                                                 ")"};
        ranges[range].push_back(page);
    }
    std::map<std::size_t, std::uint32_t> bitmapPages;
    for (const auto& [range, members] : ranges) {
        auto number = allocatePage(transaction);
        JET_TRY(number);
        auto buffer = transaction.page(*number);
        JET_TRY(buffer);
        **buffer = newBitmapPage();
        const std::span<std::uint8_t> bitmap((*buffer)->data() + layout::kUsageBitmapPageData,
                                             layout::kPageSize - layout::kUsageBitmapPageData);
        for (const std::uint32_t page : members)
            putBit(bitmap, page % layout::kUsageBitmapPagesPerMapPage, true);
        bitmapPages[range] = *number;
    }
    // Fetched after the allocations: they may have re-laid page 1 or this map's page.
    auto row = mapRowBytes(transaction, mapRow, where);
    JET_TRY(row);
    std::fill(row->begin(), row->end(), std::uint8_t{0});
    build::ByteWriter out(*row);
    out.u8(layout::kUsageMapReference);
    for (const auto& [range, number] : bitmapPages) out.u32At(1 + 4 * range, number);
    if (!out.ok()) return mapError("reference map row too short", mapRow, where);
    return {};
}

Status setInlineBit(Transaction& transaction, RowPointer mapRow, std::span<std::uint8_t> row,
                    std::uint32_t pageNumber, bool bit, MapSense sense, const std::string& where) {
    std::uint32_t start = 0;
    ByteReader(row).u32At(layout::kUsageMapInlineStart, start);
    const std::span<std::uint8_t> bitmap = row.subspan(layout::kUsageMapInlineBitmap);
    const std::uint64_t capacity = std::uint64_t{bitmap.size()} * 8;
    if (pageNumber >= start && pageNumber - start < capacity) {
        putBit(bitmap, pageNumber - start, bit);
        return {};
    }
    // Outside the map's window a page is not a member: nothing to clear.
    if (sense == MapSense::members && !bit) return {};

    // The new bitmap: members keep their bits, the global map keeps every bit and says "free"
    // for the pages it newly covers that lie past the end of the file.
    std::uint32_t newStart = start;
    std::uint32_t last = pageNumber;
    std::vector<std::uint32_t> members;
    if (sense == MapSense::members) {
        for (std::size_t i = 0; i < capacity; ++i)
            if (testBit(bitmap, i)) members.push_back(static_cast<std::uint32_t>(start + i));
        members.push_back(pageNumber);
        std::sort(members.begin(), members.end());
        newStart = members.front() / kInlineWindow * kInlineWindow;
        last = members.back();
    } else if (pageNumber < start) {
        return mapError("the free-page map starts after page " + std::to_string(pageNumber), mapRow,
                        where);
    }
    const std::uint64_t neededBits = std::uint64_t{last} - newStart + 1;
    std::size_t bitmapSize = bitmap.size();
    if (neededBits > capacity)
        bitmapSize = std::max(layout::kUsageMapDefaultBitmapSize,
                              roundUp(static_cast<std::size_t>((neededBits + 7) / 8),
                                      layout::kUsageMapBitmapGrowStep));
    std::vector<std::uint8_t> newRow(layout::kUsageMapInlineBitmap + bitmapSize, 0);
    build::ByteWriter out(newRow);
    out.u8(layout::kUsageMapInline);
    out.u32(newStart);
    const std::span<std::uint8_t> newBitmap =
        std::span(newRow).subspan(layout::kUsageMapInlineBitmap);
    if (sense == MapSense::members) {
        for (const std::uint32_t member : members) putBit(newBitmap, member - newStart, true);
    } else {
        std::copy(bitmap.begin(), bitmap.end(), newBitmap.begin());
        for (std::uint64_t i = capacity; i < std::uint64_t{bitmapSize} * 8; ++i)
            putBit(newBitmap, i, newStart + i >= transaction.pageCount());
        putBit(newBitmap, pageNumber - newStart, bit);
    }
    if (bitmapSize == bitmap.size()) {
        std::copy(newRow.begin(), newRow.end(), row.begin());
        return {};
    }
    if (bitmapSize <= kMaxInlineBitmap) {
        auto page = transaction.page(mapRow.pageNumber);
        JET_TRY(page);
        auto replaced = replaceRowBytes(**page, mapRow.pageNumber, mapRow.rowIndex, newRow,
                                        "usage map of " + where);
        JET_TRY(replaced);
        if (*replaced) return {};
    }
    if (sense == MapSense::members && row.size() >= layout::kUsageMapReferenceRowSize)
        return convertToReference(transaction, mapRow, members, where);
    return {StatusCode::unsupported, "the usage map of " + where + " cannot grow to reach page " +
                                         std::to_string(pageNumber) +
                                         " (its page is full); compact the database"};
}

Status setReferenceBit(Transaction& transaction, RowPointer mapRow, std::uint32_t pageNumber,
                       bool bit, MapSense sense, const std::string& where) {
    const std::size_t range = pageNumber / layout::kUsageBitmapPagesPerMapPage;
    auto row = mapRowBytes(transaction, mapRow, where);
    JET_TRY(row);
    std::uint32_t bitmapPage = 0;
    if (range >= layout::kUsageMapReferenceMaxPages ||
        !ByteReader(*row).u32At(1 + 4 * range, bitmapPage))
        return {StatusCode::unsupported, "page " + std::to_string(pageNumber) +
                                             " is beyond the reach of the usage map of " + where};
    if (bitmapPage == 0) {
        if (sense == MapSense::members && !bit) return {};
        if (sense == MapSense::freePages)
            return {StatusCode::unsupported,
                    "the free-page map has no bitmap page for page " + std::to_string(pageNumber)};
        auto number = allocatePage(transaction);
        JET_TRY(number);
        auto buffer = transaction.page(*number);
        JET_TRY(buffer);
        **buffer = newBitmapPage();
        bitmapPage = *number;
        auto again = mapRowBytes(transaction, mapRow, where);
        JET_TRY(again);
        build::ByteWriter(*again).u32At(1 + 4 * range, bitmapPage);
    }
    if (bitmapPage >= transaction.pageCount())
        return mapError("reference map names page " + std::to_string(bitmapPage) + " past the end",
                        mapRow, where);
    auto buffer = transaction.page(bitmapPage);
    JET_TRY(buffer);
    if ((**buffer)[0] != layout::kPageUsageBitmap)
        return mapError("reference map names page " + std::to_string(bitmapPage) +
                            ", which is not a bitmap page",
                        mapRow, where);
    const std::span<std::uint8_t> bitmap((*buffer)->data() + layout::kUsageBitmapPageData,
                                         layout::kPageSize - layout::kUsageBitmapPageData);
    putBit(bitmap, pageNumber % layout::kUsageBitmapPagesPerMapPage, bit);
    return {};
}

}  // namespace

Status setUsageMapBit(Transaction& transaction, RowPointer mapRow, std::uint32_t pageNumber,
                      bool bit, MapSense sense, const std::string& where) {
    auto row = mapRowBytes(transaction, mapRow, where);
    JET_TRY(row);
    if (row->empty()) return mapError("empty map row", mapRow, where);
    const std::uint8_t kind = (*row)[0];
    if (kind == layout::kUsageMapInline) {
        if (row->size() < layout::kUsageMapInlineBitmap)
            return mapError("inline map row of " + std::to_string(row->size()) + " bytes", mapRow,
                            where);
        return setInlineBit(transaction, mapRow, *row, pageNumber, bit, sense, where);
    }
    if (kind == layout::kUsageMapReference)
        return setReferenceBit(transaction, mapRow, pageNumber, bit, sense, where);
    return mapError("map row of unknown kind " + hexOffset(kind), mapRow, where);
}

Result<std::uint32_t> allocatePage(Transaction& transaction) {
    auto number = transaction.appendPage();
    JET_TRY(number);
    JET_TRY(setUsageMapBit(transaction, RowPointer{layout::kGlobalUsageMapPage, 0}, *number, false,
                           MapSense::freePages, "the database (page 1)"));
    return number;
}

Result<bool> replaceRowBytes(PageBuffer& page, std::uint32_t pageNumber, std::uint16_t rowIndex,
                             std::span<const std::uint8_t> row, const std::string& where) {
    auto view = DataPage::open(page, pageNumber, where);
    JET_TRY(view);
    const std::uint16_t count = view->rowCount();
    std::vector<std::vector<std::uint8_t>> rows(count);
    std::vector<std::uint16_t> flags(count);
    std::size_t total = 0;
    const ByteReader in(page);
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint16_t raw = 0;
        in.u16At(layout::kDataRowSlots + kSlotSize * i, raw);
        flags[i] = raw & static_cast<std::uint16_t>(~layout::kRowSlotOffsetMask);
        if (i == rowIndex) {
            rows[i].assign(row.begin(), row.end());
        } else {
            auto bytes = view->row(i, where);
            JET_TRY(bytes);
            rows[i].assign(bytes->begin(), bytes->end());
        }
        total += rows[i].size();
    }
    const std::size_t slots = layout::kDataRowSlots + kSlotSize * count;
    if (total > layout::kPageSize - slots) return false;

    PageBuffer rebuilt{};
    std::copy(page.begin(), page.begin() + layout::kDataRowSlots, rebuilt.begin());
    build::ByteWriter out(rebuilt);
    std::size_t end = layout::kPageSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        end -= rows[i].size();
        out.bytesAt(end, rows[i]);
        out.u16At(layout::kDataRowSlots + kSlotSize * i,
                  static_cast<std::uint16_t>(end | flags[i]));
    }
    out.u16At(layout::kDataFreeSpace,
              static_cast<std::uint16_t>(layout::kPageSize - slots - total));
    page = rebuilt;
    return true;
}

}  // namespace jet
