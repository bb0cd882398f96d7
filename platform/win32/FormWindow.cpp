#include <windows.h>

#include "platform/Failure.h"
#include "platform/Memory.h"
#include "platform/win32/FormImpl.h"
#include "platform/win32/Internal.h"

namespace platform {

namespace {

constexpr wchar_t kFormClass[] = L"FerruleForm";
constexpr UINT kFirstControlId = 100;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;

Form::Impl* ImplOf(HWND hwnd) {
  return reinterpret_cast<Form::Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void OnCommand(Form::Impl& form, UINT id, UINT code, HWND sender) {
  // Enter arrives as IDOK with no sender; it presses the button only when the button has the focus.
  if (id == IDOK && !sender) {
    for (std::size_t i = 0; i < form.controlCount; ++i) {
      const Control& c = form.controls[i];
      if (c.definition->kind == ControlKind::kCommandButton && GetFocus() == c.hwnd) {
        win32::Invoke(c.handler);
      }
    }
    return;
  }
  // Only the button itself can click it: another program may post any id it likes.
  Control* button = form.FindById(id, ControlKind::kCommandButton);
  if (code == BN_CLICKED && button && button->hwnd == sender) win32::Invoke(button->handler);
}

void OnTimer(Form::Impl& form, UINT id, LPARAM callback) {
  // Our timers have no callback; a WM_TIMER that names one was not set by us.
  if (callback != 0) return;
  if (Control* timer = form.FindById(id, ControlKind::kTimer)) win32::Invoke(timer->handler);
}

bool IsCloseCommand(WPARAM command) { return (command & 0xFFF0) == SC_CLOSE; }

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Attached at WM_NCCREATE so no later message finds the window without its form.
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  Form::Impl* form = ImplOf(hwnd);
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      OnCommand(*form, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(*form, static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_SYSCOMMAND:
      // Handled here rather than by DefWindowProc, which drops it while a box disables us.
      if (!IsCloseCommand(wParam)) return DefWindowProcW(hwnd, message, wParam, lParam);
      win32::RequestClose();
      return 0;
    case WM_CLOSE:
      win32::RequestClose();
      return 0;
    case WM_DESTROY:
      win32::SetMainWindow(nullptr);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

void RegisterFormClass(HINSTANCE instance, int iconResource) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = FormProc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconResource), IMAGE_ICON, 0,
                                           0, LR_DEFAULTSIZE | LR_SHARED));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
}

struct PixelsPerInch {
  int x, y;
};

PixelsPerInch ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  PixelsPerInch ppi = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return ppi;
}

HWND CreateControl(const ControlDefinition& c, HWND parent, UINT id, PixelsPerInch ppi,
                   HINSTANCE instance) {
  const wchar_t* windowClass = nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (c.kind == ControlKind::kCommandButton) {
    windowClass = L"BUTTON";
    style |= BS_PUSHBUTTON | WS_TABSTOP;
  } else {
    windowClass = L"STATIC";
    style |= SS_LEFT | SS_NOPREFIX;  // left-aligned, word-wrapped, clipped below
  }
  HWND hwnd = CreateWindowExW(
      0, windowClass, c.caption ? c.caption : L"", style, TwipsToPixels(c.left, ppi.x),
      TwipsToPixels(c.top, ppi.y), TwipsToPixels(c.width, ppi.x), TwipsToPixels(c.height, ppi.y),
      parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
  if (!hwnd) Raise(Failure(static_cast<long>(GetLastError()), L"Cannot create control"));
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return hwnd;
}

bool SameName(const wchar_t* a, const wchar_t* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

}  // namespace

Form::Impl::~Impl() { memory::Free(controls); }

Control* Form::Impl::Find(const wchar_t* name, ControlKind kind) {
  for (std::size_t i = 0; i < controlCount; ++i) {
    Control& c = controls[i];
    if (c.definition->kind == kind && SameName(c.definition->name, name)) return &c;
  }
  Raise(Failure(kObjectRequiredFailure, L"Object required"));
}

Control* Form::Impl::FindById(UINT id, ControlKind kind) {
  for (std::size_t i = 0; i < controlCount; ++i) {
    if (controls[i].id == id && controls[i].definition->kind == kind) return &controls[i];
  }
  return nullptr;
}

namespace win32 {

void CreateForm(Form::Impl& form, const FormDefinition& definition) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterFormClass(instance, definition.iconResource);
  form.definition = &definition;

  const PixelsPerInch ppi = ScreenPixelsPerInch();
  RECT frame = {0, 0, TwipsToPixels(definition.clientWidth, ppi.x),
                TwipsToPixels(definition.clientHeight, ppi.y)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  form.hwnd = CreateWindowExW(kFormExStyle, kFormClass, definition.caption, kFormStyle, x, y, width,
                              height, nullptr, nullptr, instance, &form);
  if (!form.hwnd) Raise(Failure(static_cast<long>(GetLastError()), L"Cannot create window"));
  SetMainWindow(form.hwnd);

  form.controls =
      static_cast<Control*>(memory::Allocate(definition.controlCount * sizeof(Control)));
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    const ControlDefinition& c = definition.controls[i];
    const UINT id = kFirstControlId + static_cast<UINT>(i);
    HWND hwnd =
        c.kind == ControlKind::kTimer ? form.hwnd : CreateControl(c, form.hwnd, id, ppi, instance);
    new (&form.controls[i]) Control{&c, hwnd, id, Handler()};
    form.controlCount = i + 1;
  }
}

void PaintNow(HWND form) {
  if (form) RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace win32

Label Form::FindLabel(const wchar_t* name) { return Label(impl_.Find(name, ControlKind::kLabel)); }

CommandButton Form::FindCommandButton(const wchar_t* name) {
  return CommandButton(impl_.Find(name, ControlKind::kCommandButton));
}

Timer Form::FindTimer(const wchar_t* name) { return Timer(impl_.Find(name, ControlKind::kTimer)); }

void Form::Show() {
  ShowWindow(impl_.hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(impl_.hwnd);
  UpdateWindow(impl_.hwnd);
}

void Form::OnLoad(Handler handler) { impl_.onLoad = handler; }

void Form::OnClick(const CommandButton& button, Handler handler) {
  button.Handle()->handler = handler;
}

void Form::OnTimer(const Timer& timer, Handler handler) { timer.Handle()->handler = handler; }

}  // namespace platform
