#pragma once

#include "platform/ExitCode.h"
#include "platform/Failure.h"
#include "platform/Handler.h"

namespace platform {

// The rules of one run, the same on every backend: how a handler is run, how a failure is
// reported, when a close request ends the run and with which exit code.
class ProgramRun {
 public:
  // `words` names the failures the program knows better than the system does.
  explicit ProgramRun(FailureWordsTable words = {});
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Runs one handler. Handlers never overlap: one raised while another runs (a message sent by
  // another program during a long call) is dropped. A close request made meanwhile is carried
  // out when the handler returns.
  void Run(const Handler& handler);

  // The close box, Alt+F4, or WM_CLOSE from another program. While a handler runs the request
  // waits for it to finish: the load handler may be in the middle of the System Restore call,
  // and the user must still learn its outcome.
  void RequestClose();

  void SetExitCode(ExitCode code) { code_ = code; }
  ExitCode Code() const { return code_; }
  bool Ended() const { return ended_; }

  // The end of the run: what it still holds is released, then the process ends with `code`.
  [[noreturn]] void End(ExitCode code);
  // The end by a failure: released, reported, then ended with exit code 3. No close request
  // counts from here on.
  [[noreturn]] void Fail(const Failure& failure);

  // The run under way on this thread, or null.
  static ProgramRun* Current();

 private:
  FailureWordsTable words_;
  ProgramRun* previous_;
  ExitCode code_ = ExitCode::kCreated;
  bool ended_ = false;
  bool running_ = false;
  bool closeRequested_ = false;
};

}  // namespace platform
