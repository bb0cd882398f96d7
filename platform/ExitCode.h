#pragma once

namespace platform {

// What the process tells a script that ran it (`start /wait Ferrule.exe`, then errorlevel).
enum class ExitCode : int {
  kCreated = 0,           // System Restore answered 0
  kRefused = 1,           // System Restore answered anything else
  kWrongWindows = 2,      // the version gate refused to run
  kUnhandledFailure = 3,  // a failure was reported and ended the program
  kCrashed = 4  // a processor fault (access violation, illegal instruction, stack overflow)
};

}  // namespace platform
