#include "platform/win32/SystemFolder.h"

#include <windows.h>

namespace platform::win32 {

Text SystemFolderPath(const wchar_t* relative) {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Text();
  return Text(system, length) + L"\\" + relative;
}

}  // namespace platform::win32
