#include "Describe.h"

#include <string>
#include <vector>

#include "FontFile.h"
#include "Gdi.h"
#include "Output.h"
#include "Windows.h"

namespace driver {

namespace {

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
}

bool IsFont(DWORD_PTR handle) {
  return handle && GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) == OBJ_FONT;
}

// The font a control draws with. Wine answers WM_GETFONT from another process with 0. Its
// user32 static control keeps the font in its first extra bytes, which any process may read;
// the static of common controls 6 keeps a pointer there, into its own process, to a record that
// starts with the font.
HGDIOBJ FontOf(HWND control) {
  DWORD_PTR font = 0;
  SendMessageTimeoutW(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &font);
  if (IsFont(font)) return reinterpret_cast<HGDIOBJ>(font);
  const DWORD_PTR extra = static_cast<DWORD_PTR>(GetWindowLongPtrW(control, 0));
  if (IsFont(extra)) return reinterpret_cast<HGDIOBJ>(extra);
  DWORD pid = 0;
  GetWindowThreadProcessId(control, &pid);
  const HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, pid);
  if (!process) return nullptr;
  DWORD_PTR first = 0;
  SIZE_T read = 0;
  const bool ok = extra &&
                  ReadProcessMemory(process, reinterpret_cast<const void*>(extra), &first,
                                    sizeof first, &read) &&
                  read == sizeof first;
  CloseHandle(process);
  return ok && IsFont(first) ? reinterpret_cast<HGDIOBJ>(first) : nullptr;
}

// Another process's font can be measured only when it is a stock font, whose handle every
// process shares; null otherwise.
HGDIOBJ MeasurableFontOf(HWND control) {
  const HGDIOBJ font = FontOf(control);
  return font && font == GetStockObject(DEFAULT_GUI_FONT) ? font : nullptr;
}

// The text's lines as the control breaks them before wrapping: at CR LF, CR or LF.
std::vector<std::wstring> LinesOf(const std::wstring& text) {
  std::vector<std::wstring> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

// The static's text measured in its own font: the font's file, one line's height, the height
// the text needs wrapped at the control's width as a static control wraps it, and each line's
// width unwrapped. -1 (and no file) when the font cannot be measured.
void PrintTextMeasures(const std::string& key, const Child& c) {
  const HGDIOBJ font = MeasurableFontOf(c.hwnd);
  if (!font) {
    Print(key + ".font_file", "");
    Print(key + ".line_height", -1);
    Print(key + ".text_height", -1);
    Print(key + ".line_widths", -1);
    return;
  }
  ScreenDc screen;
  Selection selected(screen.Get(), font);
  Print(key + ".font_file", FontFileOf(screen.Get()));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen.Get(), &metrics);
  Print(key + ".line_height", metrics.tmHeight);
  RECT r = {0, 0, c.rect.right - c.rect.left, 0};
  DrawTextW(screen.Get(), c.text.c_str(), static_cast<int>(c.text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  Print(key + ".text_height", r.bottom);
  std::string widths;
  for (const std::wstring& line : LinesOf(c.text)) {
    SIZE size = {};
    GetTextExtentPoint32W(screen.Get(), line.c_str(), static_cast<int>(line.size()), &size);
    widths += (widths.empty() ? "" : ",") + std::to_string(size.cx);
  }
  Print(key + ".line_widths", widths);
}

// How a static lays out its text (SS_TYPEMASK): left, center, right, ...
std::string AlignmentOf(HWND control) {
  const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
  switch (type) {
    case SS_LEFT:
      return "left";
    case SS_CENTER:
      return "center";
    case SS_RIGHT:
      return "right";
    case SS_SIMPLE:
      return "simple";
    case SS_LEFTNOWORDWRAP:
      return "left-nowordwrap";
    default:
      return "type " + std::to_string(type);
  }
}

void PrintChild(const std::string& key, const Child& c) {
  Print(key + ".class", c.className);
  Print(key + ".id", c.id);
  Print(key + ".text", c.text);
  Print(key + ".visible", c.visible ? 1 : 0);
  Print(key + ".rect", RectText(c.rect));
  if (_wcsicmp(c.className.c_str(), L"Static") == 0) {
    Print(key + ".align", AlignmentOf(c.hwnd));
    PrintTextMeasures(key, c);
  }
}

// The font Wine's message boxes draw their text in: their template asks for the message font of
// the non-client metrics. The box's own font handle is private to its process.
std::wstring MessageFontFile() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return L"";
  Font font(metrics.lfMessageFont);
  if (!font.Get()) return L"";
  ScreenDc screen;
  Selection selected(screen.Get(), font.Get());
  return FontFileOf(screen.Get());
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
  Print("box_font_file", MessageFontFile());
  HWND owner = GetWindow(box, GW_OWNER);
  Print("box_owner", owner ? (owner == form ? L"form" : TextOf(owner)) : L"none");
}

}  // namespace driver
