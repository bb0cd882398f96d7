#pragma once

#include <windows.h>

#include <string>

namespace driver {

// The file the font selected into `dc` was realized from ("sserife.fon", "tahoma.ttf"), as
// Wine's gdi32 reports it; empty when it cannot tell. GetTextFace is no help: it gives back
// the requested name ("MS Shell Dlg"), not the font that stands for it.
std::wstring FontFileOf(HDC dc);

}  // namespace driver
