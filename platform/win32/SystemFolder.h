#pragma once

#include "platform/Text.h"

namespace platform::win32 {

// A file of the system folder by its full path (L"wbem\\wmiutils.dll"), so no search can swap
// in a file of that name from elsewhere; empty if the folder cannot be read.
Text SystemFolderPath(const wchar_t* relative);

}  // namespace platform::win32
