#pragma once

#include <functional>

#include "platform/ExitCode.h"
#include "platform/Form.h"
#include "platform/FormDefinition.h"

namespace platform {

// Creates the start-up form from its definition, lets `bind` attach the program's handlers,
// raises the load event once and delivers events until the program ends.
// Returns the process exit code.
int RunProgram(const FormDefinition& definition, const std::function<void(Form&)>& bind);

// The code an ordinary end (countdown, Close, close box) reports.
void SetExitCode(ExitCode code);

// Ends the program at once: the calling handler does not go on, no further event arrives.
[[noreturn]] void End();
[[noreturn]] void End(ExitCode code);

}  // namespace platform
