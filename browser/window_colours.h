#pragma once

#include <cstdint>

#include <QString>

namespace browser {

// The colours of the browsing window as blue-green-red numbers (see controls::tColor).
inline constexpr std::uint32_t kBlack = 0;
inline constexpr std::uint32_t kMaroon = 128;
inline constexpr std::uint32_t kRed = 255;
inline constexpr std::uint32_t kDarkGreen = 16384;
inline constexpr std::uint32_t kGreen = 32768;
inline constexpr std::uint32_t kOlive = 32896;
inline constexpr std::uint32_t kNavy = 8388608;
inline constexpr std::uint32_t kWindowGreen = 13955283;  // the window and the panes
inline constexpr std::uint32_t kPaleGreen = 15530220;    // the edit boxes

// The family every font of the window names.
inline const QString kTahoma = QStringLiteral("Tahoma");

}  // namespace browser
