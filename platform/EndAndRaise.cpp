#include "platform/Program.h"

#include "platform/ProgramRun.h"

namespace platform {

namespace {

// Outside a run (a service used on its own) the same end applies, with no words of the program.
template <class Step>
[[noreturn]] void InRun(Step step) {
  if (ProgramRun* run = ProgramRun::Current()) step(*run);
  ProgramRun outside;
  step(outside);
  __builtin_unreachable();
}

}  // namespace

void SetExitCode(ExitCode code) {
  if (ProgramRun* run = ProgramRun::Current()) run->SetExitCode(code);
}

void End() {
  InRun([](ProgramRun& run) { run.End(run.Code()); });
}

void End(ExitCode code) {
  InRun([code](ProgramRun& run) { run.End(code); });
}

void Raise(const Failure& failure) {
  InRun([&failure](ProgramRun& run) { run.Fail(failure); });
}

}  // namespace platform
