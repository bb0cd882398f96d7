#pragma once

#include <windows.h>

#include <string>

namespace driver {

// Real keyboard input (SendInput) to `window` brought to the foreground, so it reaches the
// program's message loop, IsDialogMessage included, as a user's keys would.
// `keys` is "alt+l", "alt+f4", "escape", "return" or "tab"; false for anything else.
bool SendKeys(HWND window, const std::string& keys);

// Finds the title bar's close box by hit-testing and clicks it with the mouse.
// Returns the point clicked, in screen coordinates; false when no close box was found.
bool ClickCloseBox(HWND window, POINT* clicked);

}  // namespace driver
