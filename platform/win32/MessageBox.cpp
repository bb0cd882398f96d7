#include "platform/MessageBox.h"

#include <windows.h>

#include "platform/win32/Runtime.h"
#include "res/Application.h"

namespace platform {

void MsgBox(const Text& prompt) { MsgBox(prompt, res::kApplicationTitle); }

void MsgBox(const Text& prompt, const Text& title) {
  // Owned by the form, so the form is disabled while the box is up, as a modal box should.
  MessageBoxW(win32::MainWindow(), prompt.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND);
}

}  // namespace platform
