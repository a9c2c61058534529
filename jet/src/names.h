#pragma once

#include <string>
#include <string_view>

namespace jet {

// Jet names (tables, queries, columns) compare ignoring case: ASCII and the simple case folding
// of Latin-1, Latin Extended-A, Greek and Cyrillic. Other characters compare as they are.
char16_t foldNameChar(char16_t c);
bool namesEqual(std::u16string_view a, std::u16string_view b);

}  // namespace jet
