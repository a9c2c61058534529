#pragma once

namespace shell {

// Makes Persian the keyboard input language, once, at start: on X11 it locks the keyboard to
// the Persian group when the user has a Persian layout configured; on Windows it activates
// layout 0x0429. Anywhere else, or without a Persian layout, it does nothing. Never reports:
// returns whether a Persian layout was selected, for tests.
bool activatePersianKeyboard();

}  // namespace shell
