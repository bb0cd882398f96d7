#pragma once

#include "platform/ExitCode.h"

namespace platform::backend {

// The last step of every run, once what it held is released: the windows go, COM is left and
// the process ends with `code`. The headless backend unwinds to its caller instead.
[[noreturn]] void EndProcess(ExitCode code);

}  // namespace platform::backend
