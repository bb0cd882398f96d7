#pragma once

#include <windows.h>

#include "platform/ExitCode.h"
#include "platform/Form.h"

namespace platform::win32 {

// The run's state, owned by RunProgram on the user-interface thread.
struct Runtime {
  HWND form = nullptr;
  ExitCode exitCode = ExitCode::kCreated;
  bool ended = false;
};

Runtime& CurrentRuntime();

// Calls one of the program's handlers. Nothing thrown gets past here into user32:
// an end unwinds to this point, a failure is reported here, and either closes the window.
void Invoke(const Handler& handler);

}  // namespace platform::win32
