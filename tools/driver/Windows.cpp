#include "Windows.h"

#include <cwchar>

#include "Output.h"
#include "tools/WaitFactor.h"

namespace driver {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr DWORD kPollMs = 5;

}  // namespace

std::wstring TextOf(HWND hwnd) {
  // GetWindowText reads another process's window text from the server, without a message
  // that a busy Ferrule could not answer.
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = L"";
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::vector<Child> ChildrenOf(HWND parent) {
  std::vector<Child> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT rect;
    GetWindowRect(c, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const bool visible = (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) != 0;
    children.push_back({c, ClassOf(c), GetDlgCtrlID(c), TextOf(c), visible, rect});
  }
  return children;
}

FormControls ControlsOf(HWND form) {
  FormControls controls;
  controls.all = ChildrenOf(form);
  for (const Child& c : controls.all) {
    if (_wcsicmp(c.className.c_str(), L"Button") == 0) {
      if (!controls.cmdClose) controls.cmdClose = c;
    } else if (_wcsicmp(c.className.c_str(), L"Static") == 0) {
      if (!controls.label1 || c.rect.top < controls.label1->rect.top) {
        controls.label2 = controls.label1;
        controls.label1 = c;
      } else if (!controls.label2 || c.rect.top < controls.label2->rect.top) {
        controls.label2 = c;
      }
    }
  }
  return controls;
}

namespace {

struct Search {
  const std::wstring* title;
  bool dialog;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(hwnd) || TextOf(hwnd) != *s->title) return TRUE;
  if ((ClassOf(hwnd) == kDialogClass) != s->dialog) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindTopLevel(const std::wstring& title, bool dialog) {
  Search search = {&title, dialog, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

unsigned long Milliseconds(const std::wstring& text) {
  return ScaledWait(std::wcstoul(text.c_str(), nullptr, 10));
}

bool PollUntil(unsigned long ms, const std::function<bool()>& done) {
  const unsigned long start = Elapsed();
  for (;;) {
    if (done()) return true;
    if (Elapsed() - start >= ms) return false;
    Sleep(kPollMs);
  }
}

}  // namespace driver
