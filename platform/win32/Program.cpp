#include "platform/Program.h"

#include <windows.h>

#include <new>

#include "platform/Failure.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "platform/win32/FormImpl.h"
#include "platform/win32/Runtime.h"
#include "platform/win32/Scoped.h"

namespace platform {

namespace win32 {

namespace {

Runtime* current = nullptr;

void Finish(ExitCode code) {
  Runtime& runtime = CurrentRuntime();
  runtime.exitCode = code;
  runtime.ended = true;
  if (runtime.form) DestroyWindow(runtime.form);
  PostQuitMessage(0);
}

void Report(const Failure& failure) {
  // No handler runs once a failure is being reported.
  CurrentRuntime().ended = true;
  MsgBox(FailureReport(failure));
  Finish(ExitCode::kUnhandledFailure);
}

}  // namespace

Runtime& CurrentRuntime() { return *current; }

void Invoke(const Handler& handler) {
  if (!current || current->ended || !handler) return;
  try {
    handler();
  } catch (const ProgramEnd& end) {
    Finish(end.code);
  } catch (const Failure& failure) {
    Report(failure);
  } catch (const std::bad_alloc&) {
    Report(Failure(7, L"Out of memory"));
  } catch (...) {
    Report(Failure(51, L"Internal error"));
  }
}

}  // namespace win32

int RunProgram(const FormDefinition& definition, const std::function<void(Form&)>& bind) {
  // Libraries loaded late (System Restore, themes) must not come from the current folder.
  SetDllDirectoryW(L"");
  win32::ScopedCom com;
  win32::Runtime runtime;
  win32::current = &runtime;

  Form::Impl impl;
  Form form(impl);
  win32::Invoke([&] {
    win32::CreateForm(impl, definition);
    bind(form);
  });
  win32::Invoke(impl.onLoad);

  MSG msg;
  while (!runtime.ended && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Dialog keys: Alt+L presses the Close button, Tab moves the focus.
    if (runtime.form && IsDialogMessageW(runtime.form, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (runtime.form) DestroyWindow(runtime.form);
  win32::current = nullptr;
  return static_cast<int>(runtime.exitCode);
}

void SetExitCode(ExitCode code) { win32::CurrentRuntime().exitCode = code; }

void End() { throw ProgramEnd{win32::CurrentRuntime().exitCode}; }

void End(ExitCode code) { throw ProgramEnd{code}; }

}  // namespace platform
