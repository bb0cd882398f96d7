#pragma once

#include <windows.h>

#include "platform/Failure.h"

namespace platform::win32 {

// A failed HRESULT as the program's failure: its number, and the system's words for it.
Failure ComFailure(HRESULT hr, const wchar_t* fallback = L"Automation error");

}  // namespace platform::win32
