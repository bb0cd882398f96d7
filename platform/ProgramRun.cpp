#include "platform/ProgramRun.h"

#include <new>

#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"

namespace platform {

namespace {
ProgramRun* current = nullptr;
}  // namespace

ProgramRun::ProgramRun(std::function<void()> close, FailureWordsTable words)
    : close_(std::move(close)), words_(words), previous_(current) {
  current = this;
}

ProgramRun::~ProgramRun() { current = previous_; }

ProgramRun& ProgramRun::Current() { return *current; }

void ProgramRun::Run(const Handler& handler) {
  if (ended_ || running_ || !handler) return;
  running_ = true;
  try {
    handler();
  } catch (const ProgramEnd& end) {
    Finish(end.code);
  } catch (const Failure& failure) {
    Report(failure);
  } catch (const std::bad_alloc&) {
    Report(Failure(7, L"Out of memory"));
  } catch (...) {
    Report(Failure(51, L"Internal error"));
  }
  running_ = false;
  if (closeRequested_ && !ended_) Finish(code_);
}

void ProgramRun::RequestClose() {
  if (ended_) return;
  if (running_) {
    closeRequested_ = true;
    return;
  }
  Finish(code_);
}

void ProgramRun::Finish(ExitCode code) {
  code_ = code;
  ended_ = true;
  close_();
}

void ProgramRun::Report(const Failure& failure) {
  // Nothing else runs, and no close request counts, once a failure is being reported.
  ended_ = true;
  code_ = ExitCode::kUnhandledFailure;
  MsgBox(FailureReport(failure, words_));
  close_();
}

}  // namespace platform
