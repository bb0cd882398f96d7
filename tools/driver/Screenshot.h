#pragma once

#include <windows.h>

#include <string>

namespace driver {

// Has the window paint itself, then copies what the screen shows inside its rectangle into a
// 24-bit BMP file.
// Returns an empty text on success, else what went wrong.
std::wstring SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace driver
