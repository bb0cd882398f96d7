#pragma once

#include <windows.h>

#include <string>

namespace driver {

// Copies what the screen shows inside the window's rectangle into a 24-bit BMP file.
// Returns an empty text on success, else what went wrong.
std::wstring SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace driver
