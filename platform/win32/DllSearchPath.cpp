#include "platform/win32/DllSearchPath.h"

namespace platform::win32 {

bool KeepCurrentFolderOutOfDllSearch(HMODULE kernel32) {
  using SetDllDirectory = BOOL(WINAPI*)(const wchar_t*);
  // Through void*: GCC rejects casting one function pointer type straight to another.
  const auto set = reinterpret_cast<SetDllDirectory>(
      reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDllDirectoryW")));
  // L"", not null: null restores the default search, current folder included.
  return set && set(L"");
}

}  // namespace platform::win32
