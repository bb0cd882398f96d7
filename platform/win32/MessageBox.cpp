#include <windows.h>

#include "platform/MessageBoxBackend.h"
#include "platform/win32/Internal.h"

namespace platform::backend {

bool DisplayVisible() {
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  // A station that cannot be asked is taken as visible: a box there is the lesser harm.
  if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof(flags),
                                 &needed)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

void ShowMessageBox(const Text& prompt, const Text& title) {
  // Owned by the form, so the form is disabled while the box is up, as a modal box should.
  MessageBoxW(win32::MainWindow(), prompt.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND);
}

void WriteErrorLine(const Text& line) {
  // A GUI program has a standard error handle only when its caller passed one (cmd does for
  // "Ferrule.exe 2>>log.txt").
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
  const Text text = line + L"\r\n";
  const int length = static_cast<int>(text.size());
  AnsiText bytes(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), length,
                                                              nullptr, 0, nullptr, nullptr)),
                 '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), static_cast<int>(bytes.size()),
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace platform::backend
