#include <windows.h>

#include "platform/Form.h"
#include "platform/win32/FormImpl.h"

namespace platform {

namespace {

HWND AsHwnd(void* handle) { return static_cast<HWND>(handle); }

void SetShown(HWND hwnd, bool visible) {
  ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
  win32::PaintNow(GetParent(hwnd));
}

}  // namespace

void Label::SetCaption(const Text& caption) {
  SetWindowTextW(AsHwnd(handle_), caption.c_str());
  win32::PaintNow(GetParent(AsHwnd(handle_)));
}

void Label::SetVisible(bool visible) { SetShown(AsHwnd(handle_), visible); }

void CommandButton::SetVisible(bool visible) { SetShown(AsHwnd(handle_), visible); }

void Timer::SetInterval(unsigned milliseconds) {
  auto* entry = static_cast<ControlEntry*>(handle_);
  if (milliseconds > 0) {
    SetTimer(entry->hwnd, entry->id, milliseconds, nullptr);
  } else {
    KillTimer(entry->hwnd, entry->id);
  }
}

}  // namespace platform
