#include <windows.h>

#include "platform/win32/Internal.h"

namespace platform::win32 {

namespace {

bool IsAltF4(const MSG& msg) {
  return msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 &&
         (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
}

bool IsCloseBoxClick(const MSG& msg) {
  return (msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCLBUTTONUP) &&
         msg.wParam == HTCLOSE;
}

}  // namespace

void DropInputQueuedDuringCall() {
  bool closeAsked = false;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    closeAsked = closeAsked || IsAltF4(msg);
  }
  while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    closeAsked = closeAsked || IsCloseBoxClick(msg);
  }
  while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  if (closeAsked && MainWindow()) RequestClose();
}

}  // namespace platform::win32
