#include <windows.h>

#include "platform/Form.h"
#include "platform/win32/FormImpl.h"

namespace platform {

namespace {

void SetShown(const Control* control, bool visible) {
  ShowWindow(control->hwnd, visible ? SW_SHOWNA : SW_HIDE);
  win32::PaintNow(GetParent(control->hwnd));
}

}  // namespace

void Label::SetCaption(const Text& caption) {
  SetWindowTextW(control_->hwnd, caption.c_str());
  win32::PaintNow(GetParent(control_->hwnd));
}

void Label::SetVisible(bool visible) { SetShown(control_, visible); }

void CommandButton::SetVisible(bool visible) { SetShown(control_, visible); }

void Timer::SetInterval(unsigned milliseconds) {
  if (milliseconds > 0) {
    SetTimer(control_->hwnd, control_->id, milliseconds, nullptr);
  } else {
    KillTimer(control_->hwnd, control_->id);
  }
}

}  // namespace platform
