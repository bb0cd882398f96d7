#pragma once

#include "platform/ExitCode.h"

namespace platform {

// Thrown by End() to unwind the running handler; the runtime catches it where it called in.
// Deliberately not a std::exception, so nothing but the runtime catches it by accident.
struct ProgramEnd {
  ExitCode code;
};

}  // namespace platform
