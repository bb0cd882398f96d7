#include "Commands.h"

#include <cwchar>

#include "Describe.h"
#include "Input.h"
#include "LogLines.h"
#include "Messages.h"
#include "Output.h"
#include "Screenshot.h"
#include "Windows.h"
#include "tools/WaitFactor.h"

namespace driver {

namespace {

using Arguments = std::vector<std::wstring>;

bool NeedForm(const Session& s) { return s.form && IsWindow(s.form); }

// The creating texts are the stored caption and the one Form_Load sets; anything else in
// Label1 is the outcome.
bool IsStatusText(const std::wstring& text) {
  return !text.empty() && text.rfind(L"\rCreating ", 0) != 0 && text.rfind(L"Creating ", 0) != 0;
}

// The window as the load handler leaves it: the outcome in Label1, Close and Label2 shown, in
// that order. Waiting for less would see Label2 still hidden on a slow machine.
bool ShowsOutcome(const FormControls& c, std::wstring* status) {
  if (!c.label1 || !c.cmdClose || !c.cmdClose->visible || !c.label2 || !c.label2->visible) {
    return false;
  }
  *status = c.label1->text;
  return IsStatusText(*status);
}

bool WaitWindow(Session& s, const Arguments& a) {
  if (!PollUntil(Milliseconds(a[1]),
                 [&] { return (s.form = FindTopLevel(a[0], false)) != nullptr; })) {
    return Timeout("wait-window");
  }
  Print("window_at", static_cast<long long>(Elapsed()));
  Print("window_class", ClassOf(s.form));
  return true;
}

bool WaitStatus(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  std::wstring status;
  bool gone = false;
  const bool seen = PollUntil(Milliseconds(a[0]), [&] {
    if (!IsWindow(s.form)) return gone = true;
    return ShowsOutcome(ControlsOf(s.form), &status);
  });
  if (gone) return Fail("window gone before the status appeared");
  if (!seen) return Timeout("wait-status");
  Print("status_at", static_cast<long long>(Elapsed()));
  Print("status", status);
  return true;
}

bool Dump(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  DescribeForm(s.form, Narrow(a[0]));
  return true;
}

bool WaitLabel2(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  if (!PollUntil(Milliseconds(a[1]), [&] {
        const FormControls c = ControlsOf(s.form);
        return c.label2 && c.label2->text == a[0];
      })) {
    return Timeout("wait-label2");
  }
  Print("label2_at", static_cast<long long>(Elapsed()));
  return true;
}

// Every distinct Label2 text and title until the window goes, each as "<ms> <text>".
bool WatchLabel2(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  std::wstring label2 = L"\x1";
  std::wstring title = L"\x1";
  const bool gone = PollUntil(Milliseconds(a[0]), [&] {
    const FormControls c = ControlsOf(s.form);
    const std::wstring nowTitle = TextOf(s.form);
    // Whatever was read while the window was being destroyed is not what it showed.
    if (!IsWindow(s.form)) return true;
    const std::wstring at = std::to_wstring(Elapsed()) + L" ";
    if (c.label2 && c.label2->text != label2) Print("label2_seen", at + (label2 = c.label2->text));
    if (nowTitle != title) Print("title_seen", at + (title = nowTitle));
    return false;
  });
  if (!gone) return Timeout("watch-label2");
  Print("gone_at", static_cast<long long>(Elapsed()));
  return true;
}

bool WaitBox(Session& s, const Arguments& a) {
  if (!PollUntil(Milliseconds(a[1]),
                 [&] { return (s.box = FindTopLevel(a[0], true)) != nullptr; })) {
    return Timeout("wait-box");
  }
  Print("box_at", static_cast<long long>(Elapsed()));
  DescribeBox(s.box, s.form);
  return true;
}

bool PressBoxOk(Session& s, const Arguments&) {
  if (!s.box || !IsWindow(s.box)) return Fail("no box");
  HWND ok = GetDlgItem(s.box, IDOK);
  if (!ok) return Fail("the box has no OK button");
  PostMessageW(s.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  if (!PollUntil(ScaledWait(5000), [&] { return !IsWindow(s.box); })) {
    return Timeout("press-box-ok");
  }
  Print("box_gone_at", static_cast<long long>(Elapsed()));
  return true;
}

bool Keys(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  if (!SendKeys(s.form, Narrow(a[0]))) return Fail("cannot send keys " + Narrow(a[0]));
  Print("keys_at", std::to_string(Elapsed()) + " " + Narrow(a[0]));
  return true;
}

bool CloseBox(Session& s, const Arguments&) {
  if (!NeedForm(s)) return Fail("no window");
  POINT at;
  if (!ClickCloseBox(s.form, &at)) return Fail("no close box found on the title bar");
  Print("close_clicked", std::to_string(at.x) + "," + std::to_string(at.y));
  Print("close_at", static_cast<long long>(Elapsed()));
  return true;
}

bool Screenshot(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  const std::wstring problem = SaveScreenshot(s.form, a[0]);
  if (!problem.empty()) return Fail("screenshot: " + Narrow(problem));
  Print("screenshot", a[0]);
  return true;
}

// What the screen shows where the window is, however busy its thread: nothing is sent to it.
bool ScreenPixels(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  const std::wstring problem = SaveScreenshot(s.form, a[0], false);
  if (!problem.empty()) return Fail("screen-pixels: " + Narrow(problem));
  Print("screen_pixels", a[0]);
  return true;
}

bool ScreenshotBox(Session& s, const Arguments& a) {
  if (!s.box || !IsWindow(s.box)) return Fail("no box");
  const std::wstring problem = SaveScreenshot(s.box, a[0]);
  if (!problem.empty()) return Fail("screenshot-box: " + Narrow(problem));
  Print("box_screenshot", a[0]);
  return true;
}

// One button as the screen shows it: the window's Close or the last box's OK.
bool ScreenshotButton(Session& s, const Arguments& a) {
  HWND button = nullptr;
  if (a[0] == L"close" && NeedForm(s)) {
    const FormControls c = ControlsOf(s.form);
    if (c.cmdClose) button = c.cmdClose->hwnd;
  } else if (a[0] == L"box-ok" && s.box && IsWindow(s.box)) {
    button = GetDlgItem(s.box, IDOK);
  }
  if (!button) return Fail("no button " + Narrow(a[0]));
  const std::wstring problem = SaveScreenshot(button, a[1]);
  if (!problem.empty()) return Fail("screenshot-button: " + Narrow(problem));
  Print("button_screenshot", a[1]);
  return true;
}

bool WaitGone(Session& s, const Arguments& a) {
  if (!s.form) return Fail("no window");
  if (!PollUntil(Milliseconds(a[0]), [&] { return !IsWindow(s.form); }))
    return Timeout("wait-gone");
  Print("gone_at", static_cast<long long>(Elapsed()));
  return true;
}

struct BoxSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchBoxOfProcess(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->pid || !IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32770") return TRUE;
  search->found = hwnd;
  return FALSE;
}

// A visible message box of the process `pid`, whatever its title.
HWND BoxOfProcess(DWORD pid) {
  BoxSearch search = {pid, nullptr};
  EnumWindows(MatchBoxOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// For a run nobody watches: waits for the final status or the window's end, and saves, describes
// and answers OK to each message box the window's process shows on the way.
bool WaitOutcome(Session& s, const Arguments& a) {
  if (!NeedForm(s)) return Fail("no window");
  DWORD pid = 0;
  GetWindowThreadProcessId(s.form, &pid);
  Print("form_pid", static_cast<long long>(pid));
  const unsigned long start = Elapsed();
  const unsigned long limit = Milliseconds(a[1]);
  for (;;) {
    std::wstring status;
    HWND box = nullptr;
    bool gone = false;
    const unsigned long spent = Elapsed() - start;
    const bool seen = spent < limit && PollUntil(limit - spent, [&] {
                        if ((box = BoxOfProcess(pid)) != nullptr) return true;
                        if (!IsWindow(s.form)) return gone = true;
                        return ShowsOutcome(ControlsOf(s.form), &status);
                      });
    if (!seen) return Timeout("wait-outcome");
    if (box) {
      s.box = box;
      Print("box_at", static_cast<long long>(Elapsed()));
      Print("box_title", TextOf(box));
      DescribeBox(box, s.form);
      const std::wstring problem = SaveScreenshot(box, a[0]);
      if (!problem.empty()) return Fail("box screenshot: " + Narrow(problem));
      Print("box_screenshot", a[0]);
      if (!PressBoxOk(s, {})) return false;
      continue;
    }
    Print("outcome", gone ? "gone" : "status");
    Print(gone ? "gone_at" : "status_at", static_cast<long long>(Elapsed()));
    if (!gone) Print("status", status);
    return true;
  }
}

bool SleepFor(Session&, const Arguments& a) {
  Sleep(Milliseconds(a[0]));
  return true;
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"wait-window", 2, WaitWindow, "TITLE MS", "a visible top-level window, not a box"},
      {"wait-status", 1, WaitStatus, "MS", "Label1 shows the outcome, cmdClose and Label2 visible"},
      {"dump", 1, Dump, "PREFIX", "the window and its controls, keys prefixed"},
      {"wait-label2", 2, WaitLabel2, "TEXT MS", "Label2 reads TEXT"},
      {"watch-label2", 1, WatchLabel2, "MS", "each Label2 text and title until the window goes"},
      {"wait-box", 2, WaitBox, "TITLE MS", "a message box with that title"},
      {"press-box-ok", 0, PressBoxOk, "", "OK on the box found last"},
      {"keys", 1, Keys, "alt+l|alt+f4|escape|return|tab", "real key presses to the window"},
      {"close-box", 0, CloseBox, "", "a mouse click on the title bar's close box"},
      {"screenshot", 1, Screenshot, "FILE.bmp", "the window as the screen shows it"},
      {"screen-pixels", 1, ScreenPixels, "FILE.bmp",
       "the screen where the window is, asking nothing of its thread"},
      {"screenshot-box", 1, ScreenshotBox, "FILE.bmp",
       "the box found last, as the screen shows it"},
      {"screenshot-button", 2, ScreenshotButton, "close|box-ok FILE.bmp",
       "the window's Close button or the last box's OK, as the screen shows it"},
      {"wait-gone", 1, WaitGone, "MS", "the window no longer exists"},
      {"sleep", 1, SleepFor, "MS", ""},
      {"send", 2, SendToForm, "close|sc-close MS", "SendMessageTimeout to the window"},
      {"post", 1, PostToForm, "close|sc-close", "PostMessage to the window"},
      {"post-command", 3, PostCommand, "ID CODE FROM|none", "WM_COMMAND not from a click"},
      {"post-timer", 1, PostTimer, "ID", "WM_TIMER not from a timer"},
      {"repaint", 1, Repaint, "MS", "invalidate the window; wait until it has painted"},
      {"box-stays", 1, BoxStays, "MS", "the box found last is still up MS later"},
      {"wait-line", 4, WaitLine, "NAME FILE PREFIX MS", "a line starting with PREFIX in FILE"},
      {"has-line", 3, HasLine, "NAME FILE PREFIX", "NAME=1 if FILE has such a line now"},
      {"clock", 0, Clock, "", "GetTickCount now, to align Wine's +timestamp traces"},
      {"wait-outcome", 2, WaitOutcome, "BOX.bmp MS",
       "final status or window gone; each box on the way saved and answered OK"},
  };
  return commands;
}

}  // namespace driver
