#include "header_mask.h"

#include <numeric>
#include <utility>

namespace jet {

namespace {

std::array<std::uint8_t, layout::kHeaderMaskSize> computeMask() {
    std::array<std::uint8_t, 256> state;
    std::iota(state.begin(), state.end(), 0);
    const auto& key = layout::kHeaderMaskKey;
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::array<std::uint8_t, layout::kHeaderMaskSize> mask{};
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (auto& byte : mask) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        byte = state[static_cast<std::uint8_t>(state[a] + state[b])];
    }
    return mask;
}

}  // namespace

const std::array<std::uint8_t, layout::kHeaderMaskSize>& headerMask() {
    static const auto mask = computeMask();
    return mask;
}

void applyHeaderMask(std::uint8_t* page0) {
    const auto& mask = headerMask();
    for (std::size_t i = 0; i < mask.size(); ++i) page0[layout::kHeaderMaskStart + i] ^= mask[i];
}

}  // namespace jet
