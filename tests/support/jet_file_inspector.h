#pragma once

// A small, independent look at the bytes of a Jet 4 file, written for the builder tests: what
// mdbtools and mdb-reader do not show (free-space counters, usage maps, how a memo or a text
// value is stored). It trusts the file (tests build it themselves) but never reads out of
// range: every access goes through std::vector::at().

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_files.h"

namespace kelvora::test {

class JetFileInspector {
public:
    static constexpr std::size_t kPage = 4096;

    struct Column {
        std::uint8_t type = 0;
        std::uint16_t number = 0;
        std::uint16_t variableIndex = 0;
        std::uint16_t fixedOffset = 0;
        std::uint16_t length = 0;
        std::uint8_t flags = 0;
        std::uint8_t extendedFlags = 0;
        std::u16string name;
        bool fixed() const { return (flags & 0x01) != 0; }
    };
    struct LongValueMaps {
        std::uint16_t column = 0;
        std::uint32_t owned = 0;
        std::uint32_t freeSpace = 0;
    };
    struct Tdef {
        std::vector<std::uint32_t> pages;  // the TDEF chain
        std::uint32_t length = 0;
        std::uint32_t rowCount = 0;
        std::uint8_t tableType = 0;
        std::uint16_t maxColumns = 0;
        std::uint16_t variableColumns = 0;
        std::uint32_t ownedMap = 0;
        std::uint32_t freeSpaceMap = 0;
        std::vector<Column> columns;  // in TDEF order
        std::vector<LongValueMaps> longValueMaps;
        const Column* column(std::u16string_view name) const {
            for (const Column& c : columns)
                if (c.name == name) return &c;
            return nullptr;
        }
    };
    struct RowRef {
        std::uint32_t page = 0;
        std::size_t start = 0;  // file offset of the row
        std::size_t size = 0;
    };

    explicit JetFileInspector(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        m_bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
        in.read(reinterpret_cast<char*>(m_bytes.data()),
                static_cast<std::streamsize>(m_bytes.size()));
        if (!in) throw std::runtime_error("cannot read " + path.string());
    }

    std::size_t pageCount() const { return m_bytes.size() / kPage; }
    std::uint8_t byteAt(std::size_t offset) const { return m_bytes.at(offset); }
    std::uint16_t u16(std::size_t offset) const { return getU16(m_bytes, offset); }
    std::uint32_t u32(std::size_t offset) const { return getU32(m_bytes, offset); }
    std::vector<std::uint8_t> bytes(std::size_t offset, std::size_t size) const {
        if (offset > m_bytes.size() || size > m_bytes.size() - offset)
            throw std::out_of_range("bytes past the file");
        return {m_bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                m_bytes.begin() + static_cast<std::ptrdiff_t>(offset + size)};
    }
    std::uint8_t pageType(std::uint32_t page) const { return byteAt(page * kPage); }

    Tdef tdef(std::uint32_t page) const {
        Tdef t;
        std::vector<std::uint8_t> d;
        for (std::uint32_t p = page, hops = 0; p != 0 && hops < 64;
             p = u32(p * kPage + 4), ++hops) {
            t.pages.push_back(p);
            const std::size_t from = p == page ? 0 : 8;
            auto chunk = bytes(p * kPage + from, kPage - from);
            d.insert(d.end(), chunk.begin(), chunk.end());
        }
        t.length = getU32(d, 8);
        t.rowCount = getU32(d, 0x10);
        t.tableType = d.at(0x28);
        t.maxColumns = getU16(d, 0x29);
        t.variableColumns = getU16(d, 0x2B);
        const std::uint16_t columns = getU16(d, 0x2D);
        const std::uint32_t logicalIndexes = getU32(d, 0x2F);
        const std::uint32_t realIndexes = getU32(d, 0x33);
        t.ownedMap = getU32(d, 0x37);
        t.freeSpaceMap = getU32(d, 0x3B);
        std::size_t o = 0x3F + 12 * realIndexes;
        for (std::uint16_t i = 0; i < columns; ++i, o += 25) {
            Column c;
            c.type = d.at(o);
            c.number = getU16(d, o + 5);
            c.variableIndex = getU16(d, o + 7);
            c.flags = d.at(o + 15);
            c.extendedFlags = d.at(o + 16);
            c.fixedOffset = getU16(d, o + 21);
            c.length = getU16(d, o + 23);
            t.columns.push_back(c);
        }
        for (Column& c : t.columns) {
            const std::uint16_t size = getU16(d, o);
            for (std::size_t k = 0; k < size / 2; ++k)
                c.name += static_cast<char16_t>(getU16(d, o + 2 + 2 * k));
            o += 2 + size;
        }
        // Index descriptors (52 bytes per real index, 28 per logical one) and index names
        // are skipped.
        o += 52 * realIndexes + 28 * logicalIndexes;
        for (std::uint32_t i = 0; i < logicalIndexes; ++i) o += 2 + getU16(d, o);
        for (;;) {
            const std::uint16_t number = getU16(d, o);
            if (number == 0xFFFF) break;
            t.longValueMaps.push_back({number, getU32(d, o + 2), getU32(d, o + 6)});
            o += 10;
        }
        return t;
    }

    // File offset and size of row `row` of a data page.
    RowRef row(std::uint32_t page, std::size_t row) const {
        const std::size_t base = page * kPage;
        const std::size_t start = u16(base + 14 + 2 * row) & 0x1FFF;
        const std::size_t end = row == 0 ? kPage : (u16(base + 14 + 2 * (row - 1)) & 0x1FFF);
        if (start > end) throw std::out_of_range("row ends before it starts");
        return {page, base + start, end - start};
    }
    RowRef rowAt(std::uint32_t pointer) const { return row(pointer >> 8, pointer & 0xFF); }

    // Pages a usage map row lists (inline or reference).
    std::vector<std::uint32_t> mapPages(std::uint32_t pointer) const {
        const RowRef r = rowAt(pointer);
        std::vector<std::uint32_t> pages;
        if (byteAt(r.start) == 0) {
            const std::uint32_t start = u32(r.start + 1);
            for (std::size_t i = 5; i < r.size; ++i)
                for (int bit = 0; bit < 8; ++bit)
                    if (byteAt(r.start + i) & (1u << bit))
                        pages.push_back(start + static_cast<std::uint32_t>((i - 5) * 8 + bit));
        } else {
            for (std::size_t k = 0; 1 + 4 * k + 4 <= r.size; ++k) {
                const std::uint32_t bitmapPage = u32(r.start + 1 + 4 * k);
                if (bitmapPage == 0) continue;
                if (pageType(bitmapPage) != 0x05)
                    throw std::runtime_error("reference map names a page that is not a bitmap");
                for (std::size_t i = 4; i < kPage; ++i)
                    for (int bit = 0; bit < 8; ++bit)
                        if (byteAt(bitmapPage * kPage + i) & (1u << bit))
                            pages.push_back(static_cast<std::uint32_t>(k * (kPage - 4) * 8 +
                                                                       (i - 4) * 8 + bit));
            }
        }
        return pages;
    }
    bool isReferenceMap(std::uint32_t pointer) const { return byteAt(rowAt(pointer).start) == 1; }

    // Every row of a table, read from the pages of its owned map.
    std::vector<RowRef> tableRows(std::uint32_t tdefPage) const {
        std::vector<RowRef> rows;
        for (std::uint32_t page : mapPages(tdef(tdefPage).ownedMap)) {
            const std::size_t count = u16(page * kPage + 12);
            for (std::size_t i = 0; i < count; ++i) rows.push_back(row(page, i));
        }
        return rows;
    }

    // The stored bytes of one column of a row (fixed area or variable data), or nullopt when
    // the null-mask bit is clear.
    std::optional<std::vector<std::uint8_t>> cell(const Tdef& t, const RowRef& r,
                                                  const Column& c) const {
        const std::size_t columns = u16(r.start);
        const std::size_t mask = (columns + 7) / 8;
        const std::size_t end = r.start + r.size;
        if (!(byteAt(end - mask + c.number / 8) & (1u << (c.number % 8)))) return std::nullopt;
        if (c.fixed()) return bytes(r.start + 2 + c.fixedOffset, c.type == 1 ? 0 : c.length);
        const std::size_t variables = u16(end - mask - 2);
        if (c.variableIndex >= variables) return std::nullopt;
        const std::size_t from = u16(end - mask - 4 - 2 * c.variableIndex);
        const std::size_t to = std::size_t{c.variableIndex} + 1 == variables
                                   ? u16(end - mask - 4 - 2 * variables)
                                   : u16(end - mask - 6 - 2 * c.variableIndex);
        (void)t;
        return bytes(r.start + from, to - from);
    }

    // The TDEF page of a user table, from the MSysObjects rows (Id = TDEF page).
    std::optional<std::uint32_t> tablePage(std::u16string_view name) const {
        const Tdef catalogue = tdef(2);
        const Column* id = catalogue.column(u"Id");
        const Column* nameColumn = catalogue.column(u"Name");
        const Column* type = catalogue.column(u"Type");
        for (const RowRef& r : tableRows(2)) {
            auto n = cell(catalogue, r, *nameColumn);
            auto t = cell(catalogue, r, *type);
            if (!n || !t || getU16(*t, 0) != 1) continue;
            std::u16string text;
            for (std::size_t k = 0; k + 1 < n->size(); k += 2)
                text += static_cast<char16_t>(getU16(*n, k));
            if (text == name) return getU32(*cell(catalogue, r, *id), 0) & 0xFFFFFF;
        }
        return std::nullopt;
    }

    // Layout rules every page of a freshly built file must meet; empty when all hold.
    std::vector<std::string> structureProblems() const {
        std::vector<std::string> problems;
        auto problem = [&](std::uint32_t page, const std::string& what) {
            problems.push_back("page " + std::to_string(page) + ": " + what);
        };
        if (m_bytes.size() % kPage != 0) problems.push_back("file size is not a multiple of 4096");
        std::vector<std::uint32_t> tdefs;
        for (std::uint32_t p = 1; p < pageCount(); ++p) {
            const std::uint8_t type = pageType(p);
            if (byteAt(p * kPage + 1) != 0x01) problem(p, "byte 1 is not 0x01");
            if (type == 0x02 &&
                tdefs.end() == std::find_if(tdefs.begin(), tdefs.end(), [&](std::uint32_t t) {
                    const auto chain = tdef(t).pages;
                    return std::find(chain.begin(), chain.end(), p) != chain.end();
                }))
                tdefs.push_back(p);
            if (type != 0x01) continue;
            const std::size_t base = p * kPage;
            const std::size_t count = u16(base + 12);
            if (count > 255) problem(p, "more than 255 rows");
            std::size_t used = 0;
            std::size_t previous = kPage;
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t start = u16(base + 14 + 2 * i) & 0x1FFF;
                if (start > previous || start < 14 + 2 * count) {
                    problem(p, "row " + std::to_string(i) + " overlaps");
                    break;
                }
                used += 2 + (previous - start);
                previous = start;
            }
            if (u16(base + 2) != 4096 - 14 - used)
                problem(p, "free space " + std::to_string(u16(base + 2)) + ", expected " +
                               std::to_string(4096 - 14 - used));
        }
        for (std::uint32_t t : tdefs) {
            const Tdef def = tdef(t);
            const std::size_t expectedFree = def.pages.size() == 1 ? kPage - def.length - 8 : 0;
            if (def.pages.size() == 1 && u16(t * kPage + 2) != expectedFree)
                problem(t, "TDEF free space " + std::to_string(u16(t * kPage + 2)) + ", expected " +
                               std::to_string(expectedFree));
            auto owned = mapPages(def.ownedMap);
            std::sort(owned.begin(), owned.end());
            std::size_t rows = 0;
            for (std::uint32_t page : owned) {
                if (pageType(page) != 0x01 || u32(page * kPage + 4) != t)
                    problem(page, "in the owned map of TDEF " + std::to_string(t) +
                                      " but not its data page");
                // Live rows only: deleted slots (0xC000) and the hidden targets of moved
                // rows (0x8000) both carry the 0x8000 bit.
                const std::size_t count = u16(page * kPage + 12);
                for (std::size_t i = 0; i < count; ++i)
                    if ((u16(page * kPage + 14 + 2 * i) & 0x8000) == 0) ++rows;
            }
            for (std::uint32_t page = 1; page < pageCount(); ++page) {
                if (pageType(page) == 0x01 && u32(page * kPage + 4) == t && page != 1 &&
                    !std::binary_search(owned.begin(), owned.end(), page))
                    problem(page, "owned by TDEF " + std::to_string(t) +
                                      " but missing from its owned map");
            }
            if (rows != def.rowCount)
                problem(t, "TDEF row count " + std::to_string(def.rowCount) + ", pages hold " +
                               std::to_string(rows));
            for (const LongValueMaps& lv : def.longValueMaps) {
                for (std::uint32_t page : mapPages(lv.owned))
                    if (pageType(page) != 0x01 || u32(page * kPage + 4) != 0x4C41564C)
                        problem(page, "listed as LVAL but is not");
            }
        }
        return problems;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace kelvora::test
