#pragma once

#include <windows.h>

#include "platform/Failure.h"

namespace platform::win32 {

// A failed HRESULT as the program's failure: its number, and the system's words for it.
Failure ComFailure(HRESULT hr, const wchar_t* fallback = L"Automation error");

// The system's words for hr, or for WMI's own codes, which the system's table lacks, those of
// the message table in the module at `wmiMessages`, loaded as data by that path alone. Empty
// where neither has any; single CRs for line breaks.
Text HresultMessage(HRESULT hr, const Text& wmiMessages);

}  // namespace platform::win32
