#include "controls/tcolor.h"

namespace controls {

QColor tColor(std::uint32_t blueGreenRed) {
    return QColor(static_cast<int>(blueGreenRed & 0xFFu),
                  static_cast<int>((blueGreenRed >> 8) & 0xFFu),
                  static_cast<int>((blueGreenRed >> 16) & 0xFFu));
}

}  // namespace controls
