#include "platform/Program.h"

#include "platform/ProgramEnd.h"
#include "platform/ProgramRun.h"

namespace platform {

void SetExitCode(ExitCode code) { ProgramRun::Current().SetExitCode(code); }

void End() { throw ProgramEnd{ProgramRun::Current().Code()}; }

void End(ExitCode code) { throw ProgramEnd{code}; }

}  // namespace platform
