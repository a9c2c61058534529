#include "text_codec.h"

#include "layout.h"

namespace jet {

namespace {

bool isCompressed(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == layout::kCompressedTextMarker[0] &&
           bytes[1] == layout::kCompressedTextMarker[1];
}

bool fitsOneByte(char16_t c) { return c != 0 && c < 0x100; }

}  // namespace

void decodeTextInto(std::span<const std::uint8_t> bytes, std::u16string& out) {
    if (!isCompressed(bytes)) {
        const std::size_t count = bytes.size() / 2;
        const std::size_t start = out.size();
        out.resize(start + count);
        for (std::size_t i = 0; i < count; ++i)
            out[start + i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        return;
    }
    out.reserve(out.size() + bytes.size());
    bool oneByte = true;
    std::size_t i = 2;
    while (i < bytes.size()) {
        if (bytes[i] == 0) {
            oneByte = !oneByte;
            ++i;
            continue;
        }
        if (oneByte) {
            out.push_back(static_cast<char16_t>(bytes[i]));
            ++i;
        } else {
            if (i + 1 >= bytes.size()) break;  // a dangling half character
            out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
            i += 2;
        }
    }
}

std::u16string decodeText(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    decodeTextInto(bytes, out);
    return out;
}

std::vector<std::uint8_t> encodeText(std::u16string_view text, bool allowCompression) {
    std::vector<std::uint8_t> plain;
    plain.reserve(text.size() * 2);
    for (char16_t c : text) {
        plain.push_back(static_cast<std::uint8_t>(c & 0xFF));
        plain.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (!allowCompression) return plain;

    // A two-byte character with a zero low byte would read as a mode switch, and U+0000 has
    // no one-byte form: such text stays plain.
    for (char16_t c : text)
        if ((c & 0xFF) == 0) return plain;

    std::vector<std::uint8_t> packed = {layout::kCompressedTextMarker[0],
                                        layout::kCompressedTextMarker[1]};
    packed.reserve(text.size() + 8);
    bool oneByte = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool wantOneByte = fitsOneByte(c);
        if (wantOneByte != oneByte) {
            packed.push_back(0);
            oneByte = wantOneByte;
        }
        if (oneByte) {
            packed.push_back(static_cast<std::uint8_t>(c));
        } else {
            packed.push_back(static_cast<std::uint8_t>(c & 0xFF));
            packed.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    }
    if (packed.size() < plain.size()) return packed;
    if (!text.empty() && text.front() == u'\uFEFF') return packed;
    return plain;
}

}  // namespace jet
