#include "write/journal.h"

#include <array>
#include <cstring>

#include "build/byte_writer.h"
#include "byte_reader.h"

namespace jet {

namespace {

constexpr std::array<std::uint8_t, kJournalMagicSize> kMagic = {'K', 'J', 'E', 'T',
                                                                'J', 'R', 'N', '1'};
constexpr std::size_t kPageSizeField = 8;
constexpr std::size_t kCountField = 12;
constexpr std::size_t kOriginalSizeField = 16;

}  // namespace

std::vector<std::uint8_t> JournalImage::encode() const {
    std::vector<std::uint8_t> out(
        kJournalHeaderSize + pages.size() * kJournalRecordSize + kJournalChecksumSize, 0);
    build::ByteWriter writer(out);
    writer.bytes(kMagic);
    writer.u32(static_cast<std::uint32_t>(layout::kPageSize));
    writer.u32(static_cast<std::uint32_t>(pages.size()));
    writer.u32(static_cast<std::uint32_t>(originalSize));
    writer.u32(static_cast<std::uint32_t>(originalSize >> 32));
    for (const auto& [pageNumber, bytes] : pages) {
        writer.u32(pageNumber);
        writer.bytes(bytes);
    }
    const std::uint64_t sum = fingerprint64(std::span(out).first(writer.position()));
    writer.u32(static_cast<std::uint32_t>(sum));
    writer.u32(static_cast<std::uint32_t>(sum >> 32));
    return out;
}

std::optional<JournalImage> JournalImage::decode(std::span<const std::uint8_t> bytes) {
    const ByteReader in(bytes);
    if (bytes.size() < kJournalHeaderSize + kJournalChecksumSize) return std::nullopt;
    if (std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0) return std::nullopt;
    std::uint32_t pageSize = 0;
    std::uint32_t count = 0;
    std::uint32_t sizeLow = 0;
    std::uint32_t sizeHigh = 0;
    in.u32At(kPageSizeField, pageSize);
    in.u32At(kCountField, count);
    in.u32At(kOriginalSizeField, sizeLow);
    in.u32At(kOriginalSizeField + 4, sizeHigh);
    if (pageSize != layout::kPageSize) return std::nullopt;
    const std::size_t body = bytes.size() - kJournalHeaderSize - kJournalChecksumSize;
    if (body % kJournalRecordSize != 0 || body / kJournalRecordSize != count) return std::nullopt;
    const std::size_t summed = bytes.size() - kJournalChecksumSize;
    std::uint32_t sumLow = 0;
    std::uint32_t sumHigh = 0;
    in.u32At(summed, sumLow);
    in.u32At(summed + 4, sumHigh);
    const std::uint64_t stored = (std::uint64_t{sumHigh} << 32) | sumLow;
    if (fingerprint64(bytes.first(summed)) != stored) return std::nullopt;

    JournalImage image;
    image.originalSize = (std::uint64_t{sizeHigh} << 32) | sizeLow;
    image.pages.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t at = kJournalHeaderSize + k * kJournalRecordSize;
        in.u32At(at, image.pages[k].first);
        std::memcpy(image.pages[k].second.data(), bytes.data() + at + 4, layout::kPageSize);
    }
    return image;
}

}  // namespace jet
