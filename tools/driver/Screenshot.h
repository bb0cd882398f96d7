#pragma once

#include <windows.h>

#include <string>

namespace driver {

// Has the window paint itself (unless `paintFirst` is false), then copies what the screen shows
// inside its rectangle into a 24-bit BMP file. Without `paintFirst` nothing is asked of the
// window's thread, which may be busy and unable to answer.
// Returns an empty text on success, else what went wrong.
std::wstring SaveScreenshot(HWND window, const std::wstring& path, bool paintFirst = true);

}  // namespace driver
