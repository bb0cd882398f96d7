#pragma once

#include <windows.h>

namespace platform::win32 {

// Takes the current folder out of the search for DLLs loaded later (System Restore's, themes'),
// through SetDllDirectoryW(L"") looked up in `kernel32`: Windows XP before SP1 lacks it, and an
// import of it would keep Ferrule from starting there. Returns false if `kernel32` has no such
// function (nothing is called then) or the call failed.
bool KeepCurrentFolderOutOfDllSearch(HMODULE kernel32);

}  // namespace platform::win32
