#include "platform/ProgramRun.h"

#include "platform/Automation.h"
#include "platform/MessageBox.h"
#include "platform/ProcessEnd.h"

namespace platform {

namespace {
ProgramRun* current = nullptr;
}  // namespace

ProgramRun::ProgramRun(FailureWordsTable words) : words_(words), previous_(current) {
  current = this;
}

ProgramRun::~ProgramRun() { current = previous_; }

ProgramRun* ProgramRun::Current() { return current; }

void ProgramRun::Run(const Handler& handler) {
  if (ended_ || running_ || !handler) return;
  running_ = true;
  handler();
  running_ = false;
  if (closeRequested_) End(code_);
}

void ProgramRun::RequestClose() {
  if (ended_) return;
  if (running_) {
    closeRequested_ = true;
    return;
  }
  End(code_);
}

void ProgramRun::End(ExitCode code) {
  ended_ = true;
  code_ = code;
  ReleaseAutomationObjects();
  backend::EndProcess(code);
}

void ProgramRun::Fail(const Failure& failure) {
  // A failure while one is being reported (the report's own text could not be made) ends it.
  if (ended_) backend::EndProcess(code_);
  ended_ = true;
  code_ = ExitCode::kUnhandledFailure;
  // As an unwinding procedure would: the service must not hold the object while the user reads.
  ReleaseAutomationObjects();
  MsgBox(FailureReport(failure, words_));
  backend::EndProcess(code_);
}

}  // namespace platform
