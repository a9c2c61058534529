#pragma once

#include <array>
#include <cstdint>

#include "layout.h"

namespace jet {

// The 128 bytes XORed over page 0 from offset 0x18: the RC4 keystream of the fixed key
// C7 DA 39 6B. Masking and unmasking are the same operation.
const std::array<std::uint8_t, layout::kHeaderMaskSize>& headerMask();

// XORs the mask over page 0 (which must hold at least 0x18 + 128 bytes).
void applyHeaderMask(std::uint8_t* page0);

}  // namespace jet
