#include "Messages.h"

#include <cwchar>

#include "Output.h"
#include "Windows.h"

namespace driver {

namespace {

using Arguments = std::vector<std::wstring>;

struct Message {
  UINT message;
  WPARAM wParam;
};

bool MessageNamed(const std::wstring& name, Message* m) {
  if (name == L"close") {
    *m = {WM_CLOSE, 0};
  } else if (name == L"sc-close") {
    *m = {WM_SYSCOMMAND, SC_CLOSE};
  } else {
    return false;
  }
  return true;
}

HWND ControlNamed(HWND form, const std::wstring& name) {
  const FormControls c = ControlsOf(form);
  const std::optional<Child>& control = name == L"cmdClose" ? c.cmdClose
                                        : name == L"Label1" ? c.label1
                                        : name == L"Label2" ? c.label2
                                                            : std::nullopt;
  return control ? control->hwnd : nullptr;
}

// A number, or the id a named control carries; false when neither.
bool IdNamed(HWND form, const std::wstring& name, UINT* id) {
  wchar_t* end = nullptr;
  const unsigned long number = std::wcstoul(name.c_str(), &end, 10);
  if (!name.empty() && *end == L'\0') {
    *id = static_cast<UINT>(number);
    return true;
  }
  HWND control = ControlNamed(form, name);
  if (!control) return false;
  *id = static_cast<UINT>(GetDlgCtrlID(control));
  return true;
}

bool HasUpdateRegion(HWND hwnd) { return GetUpdateRect(hwnd, nullptr, FALSE) != 0; }

bool AnyUpdateRegion(HWND form) {
  if (HasUpdateRegion(form)) return true;
  for (const Child& c : ChildrenOf(form)) {
    if (HasUpdateRegion(c.hwnd)) return true;
  }
  return false;
}

}  // namespace

bool SendToForm(Session& s, const Arguments& a) {
  if (!s.form || !IsWindow(s.form)) return Fail("no window");
  Message m;
  if (!MessageNamed(a[0], &m)) return Fail("no message called " + Narrow(a[0]));
  const std::string key = "sent_" + Narrow(a[0]);
  // A message box owned by the window disables it; messages reach it all the same.
  Print(key + "_enabled", IsWindowEnabled(s.form) ? 1 : 0);
  const unsigned long start = Elapsed();
  DWORD_PTR result = 0;
  const LRESULT answered = SendMessageTimeoutW(s.form, m.message, m.wParam, 0, SMTO_NORMAL,
                                               Milliseconds(a[1]), &result);
  const unsigned long took = Elapsed() - start;
  Print(key + "_at", static_cast<long long>(start));
  Print(key + "_ms", static_cast<long long>(took));
  Print(key + "_answered", answered ? 1 : 0);
  Print(key + "_window", IsWindow(s.form) ? 1 : 0);
  return true;
}

bool PostToForm(Session& s, const Arguments& a) {
  if (!s.form || !IsWindow(s.form)) return Fail("no window");
  Message m;
  if (!MessageNamed(a[0], &m)) return Fail("no message called " + Narrow(a[0]));
  if (!PostMessageW(s.form, m.message, m.wParam, 0)) return Fail("PostMessage failed");
  Print("posted_" + Narrow(a[0]) + "_at", static_cast<long long>(Elapsed()));
  return true;
}

bool PostCommand(Session& s, const Arguments& a) {
  if (!s.form || !IsWindow(s.form)) return Fail("no window");
  UINT id = 0;
  if (!IdNamed(s.form, a[0], &id)) return Fail("no control called " + Narrow(a[0]));
  const UINT code = static_cast<UINT>(std::wcstoul(a[1].c_str(), nullptr, 10));
  HWND from = nullptr;
  if (a[2] != L"none" && !(from = ControlNamed(s.form, a[2])))
    return Fail("no control called " + Narrow(a[2]));
  if (!PostMessageW(s.form, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from)))
    return Fail("PostMessage failed");
  Print("posted_command", std::to_string(id) + " " + std::to_string(code) + " " + Narrow(a[2]));
  return true;
}

bool PostTimer(Session& s, const Arguments& a) {
  if (!s.form || !IsWindow(s.form)) return Fail("no window");
  UINT id = 0;
  if (!IdNamed(s.form, a[0], &id)) return Fail("no control called " + Narrow(a[0]));
  if (!PostMessageW(s.form, WM_TIMER, id, 0)) return Fail("PostMessage failed");
  Print("posted_timer", static_cast<long long>(id));
  return true;
}

bool Repaint(Session& s, const Arguments& a) {
  if (!s.form || !IsWindow(s.form)) return Fail("no window");
  // The window's thread may paint before the first look; an invalidation is counted only once
  // its update region has been seen, and one that is never seen means the invalidation did
  // nothing.
  unsigned long invalidatedAt = 0;
  bool seen = false;
  for (int attempt = 0; attempt < 20 && !seen; ++attempt) {
    invalidatedAt = Elapsed();
    if (!RedrawWindow(s.form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN))
      return Fail("RedrawWindow failed");
    seen = AnyUpdateRegion(s.form);
  }
  if (!seen) return Fail("no update region after invalidating the window");
  if (!PollUntil(Milliseconds(a[0]),
                 [&] { return !IsWindow(s.form) || !AnyUpdateRegion(s.form); })) {
    return Timeout("repaint");
  }
  if (!IsWindow(s.form)) return Fail("window gone before it was repainted");
  Print("repainted_at", static_cast<long long>(Elapsed()));
  Print("repainted_ms", static_cast<long long>(Elapsed() - invalidatedAt));
  return true;
}

bool BoxStays(Session& s, const Arguments& a) {
  if (!s.box || !IsWindow(s.box)) return Fail("no box");
  const bool went = PollUntil(Milliseconds(a[0]),
                              [&] { return !IsWindow(s.box) || !IsWindowVisible(s.box); });
  Print("box_stayed", went ? 0 : 1);
  if (went) {
    Print("box_gone_at", static_cast<long long>(Elapsed()));
    return Fail("the box went by itself");
  }
  return true;
}

}  // namespace driver
