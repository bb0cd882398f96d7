#include <csignal>
#include <cstdlib>

#include "platform/ExitCode.h"

// Linked as an object into every program, so its handlers are in place before main and its
// terminate handler wins over libstdc++'s own. The runtime catches and reports every failure
// itself; these run only when it could not, and say so by the exit code: msvcrt's abort would
// otherwise exit with 3, which a script reads as a reported failure.
namespace {

[[noreturn]] void ExitCrashed() { _exit(static_cast<int>(platform::ExitCode::kCrashed)); }

extern "C" void OnAbortSignal(int) { ExitCrashed(); }

const bool kAbortHandled = (std::signal(SIGABRT, OnAbortSignal), true);

}  // namespace

// libstdc++'s default handler also demangles the exception's type name for stderr, which a GUI
// program has not got; replacing it keeps the demangler (about 60 KB) out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { ExitCrashed(); }
}  // namespace __gnu_cxx
