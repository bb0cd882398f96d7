#include "platform/Program.h"

#include <windows.h>

#include "platform/ProgramRun.h"
#include "platform/win32/DllSearchPath.h"
#include "platform/win32/FormImpl.h"
#include "platform/win32/Runtime.h"
#include "platform/win32/Scoped.h"

namespace platform {

namespace win32 {

namespace {
HWND mainWindow = nullptr;
}  // namespace

HWND MainWindow() { return mainWindow; }
void SetMainWindow(HWND window) { mainWindow = window; }

void Invoke(const Handler& handler) { ProgramRun::Current().Run(handler); }

void RequestClose() { ProgramRun::Current().RequestClose(); }

}  // namespace win32

int RunProgram(const FormDefinition& definition,
               const std::function<std::shared_ptr<void>(Form&)>& bind,
               const FailureWordsTable& words) {
  win32::KeepCurrentFolderOutOfDllSearch(GetModuleHandleW(L"kernel32.dll"));
  win32::ScopedCom com;
  ProgramRun run(
      [] {
        if (HWND window = win32::MainWindow()) DestroyWindow(window);
        PostQuitMessage(0);
      },
      words);

  Form::Impl impl;
  Form form(impl);
  std::shared_ptr<void> handlers;
  run.Run([&] {
    win32::CreateForm(impl, definition);
    handlers = bind(form);
  });
  run.Run(impl.onLoad);

  MSG msg;
  while (!run.Ended() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Dialog keys: Alt+L presses the Close button, Tab moves the focus.
    if (win32::MainWindow() && IsDialogMessageW(win32::MainWindow(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (HWND window = win32::MainWindow()) DestroyWindow(window);
  return static_cast<int>(run.Code());
}

}  // namespace platform
