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

// msvcrt's abort shows its "abnormal program termination" box in a GUI program before it raises
// SIGABRT, and that box waits for an OK no one gives when a scheduled task or a service runs
// Ferrule. Sent to stderr instead, the message goes nowhere and the exit follows at once.
const bool kAbortHandled =
    (std::signal(SIGABRT, OnAbortSignal), _set_error_mode(_OUT_TO_STDERR), true);

}  // namespace

// libstdc++'s default handler also demangles the exception's type name for stderr, which a GUI
// program has not got; replacing it keeps the demangler (about 60 KB) out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { ExitCrashed(); }
}  // namespace __gnu_cxx
