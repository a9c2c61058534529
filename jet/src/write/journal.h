#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "fingerprint.h"
#include "page_source.h"

namespace jet {

// The rollback journal kept beside a database while a write is under way ("<file>-journal"):
// the file's size before the write and the original bytes of every existing page the write
// changes. Written and flushed before the first database page changes; invalidated once every
// page is on disk. A valid journal found later means a write was cut short: putting its pages
// back and cutting the file to its old size restores the database as it was.
//
// Bytes (little-endian):
//   0   8  "KJETJRN1"
//   8   4  page size (4096)
//   12  4  number of page records N
//   16  8  file size before the write
//   24  N x { 4 page number, 4096 original bytes }
//   end 8  FNV-1a 64 checksum of every byte before it
// A journal that is shorter or longer than N records say, or whose checksum does not match, was
// torn while being written (before any database page changed) and is ignored.
struct JournalImage {
    std::uint64_t originalSize = 0;
    std::vector<std::pair<std::uint32_t, PageBuffer>> pages;

    std::vector<std::uint8_t> encode() const;
    // nullopt for anything but a complete, matching journal.
    static std::optional<JournalImage> decode(std::span<const std::uint8_t> bytes);
};

inline constexpr std::size_t kJournalMagicSize = 8;
inline constexpr std::size_t kJournalHeaderSize = 24;
inline constexpr std::size_t kJournalRecordSize = 4 + layout::kPageSize;
inline constexpr std::size_t kJournalChecksumSize = 8;

}  // namespace jet
