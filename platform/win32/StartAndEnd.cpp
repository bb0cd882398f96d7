#include "platform/Program.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/MessageBox.h"
#include "platform/ProcessEnd.h"
#include "platform/ProgramRun.h"
#include "platform/win32/ComLibrary.h"
#include "platform/win32/DllSearchPath.h"
#include "platform/win32/FormImpl.h"
#include "platform/win32/Internal.h"

namespace platform {

namespace win32 {

namespace {
HWND mainWindow = nullptr;
}  // namespace

HWND MainWindow() { return mainWindow; }
void SetMainWindow(HWND window) { mainWindow = window; }

void Invoke(const Handler& handler) {
  if (ProgramRun* run = ProgramRun::Current()) run->Run(handler);
}

void RequestClose() {
  if (ProgramRun* run = ProgramRun::Current()) run->RequestClose();
}

}  // namespace win32

namespace backend {

void EndProcess(ExitCode code) {
  if (HWND window = win32::MainWindow()) DestroyWindow(window);
  win32::com::Stop();
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace backend

int RunProgram(const FormDefinition& definition, const HandlersPlace& handlers,
               const wchar_t* applicationTitle, const FailureWordsTable& words) {
  SetApplicationTitle(applicationTitle);
  win32::KeepCurrentFolderOutOfDllSearch(GetModuleHandleW(L"kernel32.dll"));
  // The import loads comctl32 with the program, version 6 as the manifest asks, before any
  // window exists: on XP, a manifest without it leaves the themed Button and Static classes
  // unregistered and the form cannot be created. The call keeps the import.
  InitCommonControls();
  ProgramRun run(words);
  Form::Impl impl;
  Form form(impl);
  run.Run([&] {
    win32::CreateForm(impl, definition);
    handlers.create(handlers.place, form);
  });
  run.Run(impl.onLoad);

  MSG msg;
  while (!run.Ended() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Dialog keys: Alt+L presses the Close button, Tab moves the focus.
    if (win32::MainWindow() && IsDialogMessageW(win32::MainWindow(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  handlers.destroy(handlers.place);
  run.End(run.Code());
}

}  // namespace platform
