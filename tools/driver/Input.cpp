#include "Input.h"

#include <vector>

namespace driver {

namespace {

INPUT Key(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT Mouse(DWORD flags, POINT at = {}) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run 0..65535 across the primary screen.
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags;
  return input;
}

bool Send(std::vector<INPUT> inputs) {
  const UINT count = static_cast<UINT>(inputs.size());
  return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

LRESULT HitTest(HWND window, POINT at) {
  DWORD_PTR hit = HTNOWHERE;
  SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 2000,
                      &hit);
  return static_cast<LRESULT>(hit);
}

}  // namespace

bool SendKeys(HWND window, const std::string& keys) {
  std::vector<INPUT> inputs;
  if (keys == "alt+l") {
    inputs = {Key(VK_MENU, false), Key('L', false), Key('L', true), Key(VK_MENU, true)};
  } else if (keys == "alt+f4") {
    inputs = {Key(VK_MENU, false), Key(VK_F4, false), Key(VK_F4, true), Key(VK_MENU, true)};
  } else if (keys == "escape") {
    inputs = {Key(VK_ESCAPE, false), Key(VK_ESCAPE, true)};
  } else if (keys == "return") {
    inputs = {Key(VK_RETURN, false), Key(VK_RETURN, true)};
  } else if (keys == "tab") {
    inputs = {Key(VK_TAB, false), Key(VK_TAB, true)};
  } else {
    return false;
  }
  SetForegroundWindow(window);
  return Send(inputs);
}

bool ClickCloseBox(HWND window, POINT* clicked) {
  RECT frame;
  GetWindowRect(window, &frame);
  POINT clientTop = {0, 0};
  ClientToScreen(window, &clientTop);
  // The caption lies between the window's top and its client area; scan its middle row
  // from the right for the run of points the window calls HTCLOSE.
  const int y = (frame.top + clientTop.y) / 2;
  int right = -1;
  int left = -1;
  for (int x = frame.right - 1; x > frame.left; --x) {
    if (HitTest(window, {x, y}) == HTCLOSE) {
      if (right < 0) right = x;
      left = x;
    } else if (right >= 0) {
      break;
    }
  }
  if (right < 0) return false;
  *clicked = {(left + right) / 2, y};
  SetForegroundWindow(window);
  return Send({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, *clicked),
               Mouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, *clicked),
               Mouse(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, *clicked)});
}

}  // namespace driver
