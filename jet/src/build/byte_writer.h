#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace jet::build {

// Little-endian writes into a buffer the caller owns (a page, a row, a table definition).
// Every write is bounds-checked: one that would not fit writes nothing and marks the writer
// failed, so a size computed wrongly shows up as ok() == false instead of a stray write.
class ByteWriter {
public:
    explicit ByteWriter(std::span<std::uint8_t> bytes, std::size_t position = 0)
        : m_bytes(bytes), m_position(position), m_ok(position <= bytes.size()) {}

    bool ok() const { return m_ok; }
    std::size_t position() const { return m_position; }
    std::size_t size() const { return m_bytes.size(); }

    void seek(std::size_t offset) {
        if (offset > m_bytes.size()) {
            m_ok = false;
            return;
        }
        m_position = offset;
    }

    // Sequential writes at the current position.
    void u8(std::uint8_t value) { put(value); }
    void u16(std::uint16_t value) { put(value); }
    void u32(std::uint32_t value) { put(value); }
    void i16(std::int16_t value) { put(value); }
    void i32(std::int32_t value) { put(value); }
    void i64(std::int64_t value) { put(value); }
    void f32(float value) { put(std::bit_cast<std::uint32_t>(value)); }
    void f64(double value) { put(std::bit_cast<std::uint64_t>(value)); }
    void bytes(std::span<const std::uint8_t> data) {
        if (!reserve(data.size())) return;
        if (!data.empty()) std::memcpy(m_bytes.data() + m_position, data.data(), data.size());
        m_position += data.size();
    }
    void zeros(std::size_t count) {
        if (!reserve(count)) return;
        std::memset(m_bytes.data() + m_position, 0, count);
        m_position += count;
    }

    // Writes at an absolute offset; the position does not move.
    void u8At(std::size_t offset, std::uint8_t value) { putAt(offset, value); }
    void u16At(std::size_t offset, std::uint16_t value) { putAt(offset, value); }
    void u32At(std::size_t offset, std::uint32_t value) { putAt(offset, value); }
    void f64At(std::size_t offset, double value) {
        putAt(offset, std::bit_cast<std::uint64_t>(value));
    }
    void bytesAt(std::size_t offset, std::span<const std::uint8_t> data) {
        if (!fits(offset, data.size())) {
            m_ok = false;
            return;
        }
        if (!data.empty()) std::memcpy(m_bytes.data() + offset, data.data(), data.size());
    }

private:
    bool fits(std::size_t offset, std::size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    bool reserve(std::size_t count) {
        if (!m_ok || !fits(m_position, count)) {
            m_ok = false;
            return false;
        }
        return true;
    }
    template <typename T>
    static void storeLittleEndian(std::uint8_t* out, T value) {
        using U = std::make_unsigned_t<T>;
        U bits = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            out[i] = static_cast<std::uint8_t>(bits & 0xFF);
            bits = static_cast<U>(bits >> 8);
        }
    }
    template <typename T>
    void put(T value) {
        if (!reserve(sizeof(T))) return;
        storeLittleEndian(m_bytes.data() + m_position, value);
        m_position += sizeof(T);
    }
    template <typename T>
    void putAt(std::size_t offset, T value) {
        if (!fits(offset, sizeof(T))) {
            m_ok = false;
            return;
        }
        storeLittleEndian(m_bytes.data() + offset, value);
    }

    std::span<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    bool m_ok = true;
};

}  // namespace jet::build
