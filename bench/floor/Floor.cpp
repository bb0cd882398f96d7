// The floor for Ferrule's start-up: the least a Win32 program of the same shape must do.
// One window with two labels and a button, shown and painted; then the same steps on the
// controls as Ferrule's load handler, in the same order and each painted at once, but with no
// version check and no WMI call between them. The program ends when closed or after five
// seconds, as Ferrule does. The bench stops its clock on the same condition for both: the
// button visible and Label1 holding its final text. Like Ferrule, it asks for common controls 6
// (the same manifest) and loads them before its first window, so both follow the theme.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/freestanding/Freestanding.h"

namespace {

constexpr wchar_t kClass[] = L"FerruleFloor";
constexpr wchar_t kTitle[] = L"Ferrule floor";
constexpr UINT_PTR kEndTimer = 1;
constexpr int kCloseId = 101;

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseId) DestroyWindow(hwnd);
      return 0;
    case WM_TIMER:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

HWND Child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y,
           int width, int height, int id) {
  HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                               height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  return child;
}

// Ferrule's load handler blocks its thread, so it paints each change as it makes it.
void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void SetText(HWND control, const wchar_t* text) {
  SetWindowTextW(control, text);
  PaintNow(GetParent(control));
}

void SetShown(HWND control, bool shown) {
  ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
  PaintNow(GetParent(control));
}

}  // namespace

int FreestandingMain() {
  InitCommonControls();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);

  // Ferrule's window at 96 dpi: 274 x 96 client pixels, centred on the screen.
  RECT frame = {0, 0, 274, 96};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HWND window =
      CreateWindowExW(exStyle, kClass, kTitle, style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr,
                      instance, nullptr);
  // Created in Ferrule's order, with its texts, so the bench reads both windows alike.
  HWND button =
      Child(window, L"BUTTON", L"C&lose", BS_PUSHBUTTON | WS_TABSTOP, 192, 64, 65, 25, kCloseId);
  HWND label2 = Child(window, L"STATIC", L"Closing in 5 seconds.", SS_LEFT | SS_NOPREFIX, 16, 64,
                      145, 17, 102);
  HWND label1 = Child(window, L"STATIC", L"Creating System Restore Point..........",
                      SS_LEFT | SS_NOPREFIX, 16, 8, 233, 49, 103);

  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  UpdateWindow(window);
  SetText(label1, L"\rCreating Restore Point.............");
  SetShown(label2, false);
  SetShown(button, false);
  // Here Ferrule checks the Windows version and asks System Restore for a restore point.
  SetShown(button, true);
  SetText(label1, L"Ready.");
  SetShown(label2, true);
  SetTimer(window, kEndTimer, 5000, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
