// The start of a program built without a C runtime: no static constructors run, nothing is
// parsed, and the program's function's result is the exit code.
#include <windows.h>

#include "platform/ExitCode.h"
#include "platform/win32/freestanding/Freestanding.h"

namespace {

// A processor fault is all that can still break the program down. Ended here, at once, it shows
// neither Windows' "has encountered a problem" box nor Wine's crash dialog, which an unattended
// caller would wait on for ever; the exit code says what happened.
LONG WINAPI ExitOnFault(EXCEPTION_POINTERS*) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(platform::ExitCode::kCrashed));
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

extern "C" [[noreturn]] void FreestandingEntry() {
  SetUnhandledExceptionFilter(ExitOnFault);
  ExitProcess(static_cast<UINT>(FreestandingMain()));
}
