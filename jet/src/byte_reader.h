#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

namespace jet {

// Bounds-checked little-endian reads over bytes that came from a file. Every read says whether
// it fit; nothing is read past the end of the span, and a failed read leaves the output and the
// position unchanged. The reader does not own the bytes: it is valid while they are.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t position = 0)
        : m_bytes(bytes), m_position(position <= bytes.size() ? position : bytes.size()) {}

    std::size_t size() const { return m_bytes.size(); }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_bytes.size() - m_position; }
    std::span<const std::uint8_t> bytes() const { return m_bytes; }

    // True when `count` bytes start at `offset`, computed without overflow.
    bool fits(std::size_t offset, std::size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }

    bool seek(std::size_t offset) {
        if (offset > m_bytes.size()) return false;
        m_position = offset;
        return true;
    }
    bool skip(std::size_t count) {
        if (count > remaining()) return false;
        m_position += count;
        return true;
    }

    // Sequential reads from the current position.
    bool readU8(std::uint8_t& out) { return readAdvance(out); }
    bool readU16(std::uint16_t& out) { return readAdvance(out); }
    bool readU32(std::uint32_t& out) { return readAdvance(out); }
    bool readI16(std::int16_t& out) { return readAdvance(out); }
    bool readI32(std::int32_t& out) { return readAdvance(out); }
    bool readBytes(std::size_t count, std::span<const std::uint8_t>& out) {
        if (count > remaining()) return false;
        out = m_bytes.subspan(m_position, count);
        m_position += count;
        return true;
    }

    // Reads at an absolute offset; the position does not move.
    bool u8At(std::size_t offset, std::uint8_t& out) const { return readAt(offset, out); }
    bool u16At(std::size_t offset, std::uint16_t& out) const { return readAt(offset, out); }
    bool u32At(std::size_t offset, std::uint32_t& out) const { return readAt(offset, out); }
    bool i16At(std::size_t offset, std::int16_t& out) const { return readAt(offset, out); }
    bool i32At(std::size_t offset, std::int32_t& out) const { return readAt(offset, out); }
    bool i64At(std::size_t offset, std::int64_t& out) const { return readAt(offset, out); }
    bool f32At(std::size_t offset, float& out) const { return readAt(offset, out); }
    bool f64At(std::size_t offset, double& out) const { return readAt(offset, out); }
    bool bytesAt(std::size_t offset, std::size_t count, std::span<const std::uint8_t>& out) const {
        if (!fits(offset, count)) return false;
        out = m_bytes.subspan(offset, count);
        return true;
    }

private:
    template <typename T>
    bool readAt(std::size_t offset, T& out) const {
        if (!fits(offset, sizeof(T))) return false;
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, m_bytes.data() + offset, sizeof(T));
        if constexpr (std::endian::native == std::endian::big) {
            for (std::size_t i = 0; i < sizeof(T) / 2; ++i)
                std::swap(raw[i], raw[sizeof(T) - 1 - i]);
        }
        std::memcpy(&out, raw, sizeof(T));
        return true;
    }
    template <typename T>
    bool readAdvance(T& out) {
        if (!readAt(m_position, out)) return false;
        m_position += sizeof(T);
        return true;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

}  // namespace jet
