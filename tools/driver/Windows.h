#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driver {

std::wstring TextOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);

// A child control as another process sees it; the rectangle is in the parent's client area.
struct Child {
  HWND hwnd;
  std::wstring className;
  int id;
  std::wstring text;
  bool visible;  // the control's own WS_VISIBLE, whatever its parent's state
  RECT rect;
};

// In z-order, which for controls nobody reorders is creation order.
std::vector<Child> ChildrenOf(HWND parent);

// The Ferrule window's controls, told apart by class and place rather than by id:
// the button is cmdClose, the upper label Label1, the lower one Label2.
struct FormControls {
  std::vector<Child> all;
  std::optional<Child> cmdClose;
  std::optional<Child> label1;
  std::optional<Child> label2;
};
FormControls ControlsOf(HWND form);

// A visible top-level window with exactly this title; message boxes only when `dialog`.
HWND FindTopLevel(const std::wstring& title, bool dialog);

// A command's MS argument as long as a wait may last here (tools/WaitFactor.h).
unsigned long Milliseconds(const std::wstring& text);

// Polls until `done` holds or `ms` pass; true when it held.
bool PollUntil(unsigned long ms, const std::function<bool()>& done);

}  // namespace driver
