#include "Describe.h"

#include "Gdi.h"
#include "Output.h"
#include "Windows.h"

namespace driver {

namespace {

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
}

// The font a control draws with. Wine answers WM_GETFONT from another process with 0; its
// static control keeps the font in its first extra bytes, which any process may read.
HGDIOBJ FontOf(HWND control) {
  DWORD_PTR font = 0;
  SendMessageTimeoutW(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &font);
  if (!font) font = static_cast<DWORD_PTR>(GetWindowLongPtrW(control, 0));
  return reinterpret_cast<HGDIOBJ>(font);
}

// Height the text needs at the control's width, wrapped as a static control wraps it.
// Another process's font can be measured only when it is a stock font, whose handle every
// process shares; -1 otherwise.
long long TextHeight(const Child& c) {
  const HGDIOBJ font = FontOf(c.hwnd);
  if (!font || font != GetStockObject(DEFAULT_GUI_FONT)) return -1;
  ScreenDc screen;
  Selection selected(screen.Get(), font);
  RECT r = {0, 0, c.rect.right - c.rect.left, 0};
  DrawTextW(screen.Get(), c.text.c_str(), static_cast<int>(c.text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return r.bottom;
}

// Height of one line of text in the control's font; -1 when it cannot be measured.
long long LineHeight(const Child& c) {
  const HGDIOBJ font = FontOf(c.hwnd);
  if (!font || font != GetStockObject(DEFAULT_GUI_FONT)) return -1;
  ScreenDc screen;
  Selection selected(screen.Get(), font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight;
}

void PrintChild(const std::string& key, const Child& c) {
  Print(key + ".class", c.className);
  Print(key + ".id", c.id);
  Print(key + ".text", c.text);
  Print(key + ".visible", c.visible ? 1 : 0);
  Print(key + ".rect", RectText(c.rect));
  if (_wcsicmp(c.className.c_str(), L"Static") == 0) {
    Print(key + ".text_height", TextHeight(c));
    Print(key + ".line_height", LineHeight(c));
  }
}

std::string RoleOf(HWND hwnd, HWND form, const FormControls& controls) {
  if (!hwnd) return "none";
  if (hwnd == form) return "form";
  if (controls.cmdClose && controls.cmdClose->hwnd == hwnd) return "cmdClose";
  if (controls.label1 && controls.label1->hwnd == hwnd) return "Label1";
  if (controls.label2 && controls.label2->hwnd == hwnd) return "Label2";
  return "other";
}

}  // namespace

void DescribeForm(HWND form, const std::string& prefix) {
  const std::string p = prefix + ".";
  HWND w = form;
  const LONG style = GetWindowLongW(w, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(w, GWL_EXSTYLE);
  Print(p + "title", TextOf(w));
  Print(p + "class", ClassOf(w));
  Print(p + "visible", IsWindowVisible(w) ? 1 : 0);
  Print(p + "maximizebox", (style & WS_MAXIMIZEBOX) ? 1 : 0);
  Print(p + "minimizebox", (style & WS_MINIMIZEBOX) ? 1 : 0);
  Print(p + "thickframe", (style & WS_THICKFRAME) ? 1 : 0);
  Print(p + "sysmenu", (style & WS_SYSMENU) ? 1 : 0);
  Print(p + "appwindow", (exStyle & WS_EX_APPWINDOW) ? 1 : 0);
  Print(p + "dlgmodalframe", (exStyle & WS_EX_DLGMODALFRAME) ? 1 : 0);
  Print(p + "owner", GetWindow(w, GW_OWNER) ? 1 : 0);

  RECT window;
  RECT client;
  GetWindowRect(w, &window);
  GetClientRect(w, &client);
  Print(p + "window", RectText(window));
  Print(p + "client", std::to_string(client.right) + "x" + std::to_string(client.bottom));
  Print(p + "screen", std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                          std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  Print(p + "dpi", GetDeviceCaps(ScreenDc().Get(), LOGPIXELSX));
  // What a date and a time look like in the user's locale, the one Ferrule writes them in.
  wchar_t now[128];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, now, 128);
  Print(p + "date", std::wstring(now));
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, now, 128);
  Print(p + "time", std::wstring(now));

  const FormControls c = ControlsOf(w);
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gui);
  Print(p + "foreground", GetForegroundWindow() == w ? 1 : 0);
  Print(p + "focus", RoleOf(gui.hwndFocus, w, c));

  Print(p + "children", static_cast<long long>(c.all.size()));
  for (std::size_t i = 0; i < c.all.size(); ++i)
    PrintChild(p + "child" + std::to_string(i), c.all[i]);
  if (c.cmdClose) PrintChild(p + "cmdClose", *c.cmdClose);
  if (c.label1) PrintChild(p + "Label1", *c.label1);
  if (c.label2) PrintChild(p + "Label2", *c.label2);
}

void DescribeBox(HWND box, HWND form) {
  std::wstring text;
  std::wstring buttons;
  int icons = 0;
  for (const Child& c : ChildrenOf(box)) {
    if (!c.visible) continue;
    const LONG style = GetWindowLongW(c.hwnd, GWL_STYLE);
    if (_wcsicmp(c.className.c_str(), L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        // A box without an icon may still carry an empty icon control.
        DWORD_PTR icon = 0;
        SendMessageTimeoutW(c.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
        if (icon) ++icons;
      } else if (!c.text.empty()) {
        text += (text.empty() ? L"" : L"|") + c.text;
      }
    } else if (_wcsicmp(c.className.c_str(), L"Button") == 0) {
      buttons += (buttons.empty() ? L"" : L"|") + c.text;
    }
  }
  Print("box_text", text);
  Print("box_buttons", buttons);
  Print("box_icons", icons);
  HWND owner = GetWindow(box, GW_OWNER);
  Print("box_owner", owner ? (owner == form ? L"form" : TextOf(owner)) : L"none");
}

}  // namespace driver
