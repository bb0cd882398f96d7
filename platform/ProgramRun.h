#pragma once

#include <functional>

#include "platform/ExitCode.h"
#include "platform/Failure.h"
#include "platform/Form.h"

namespace platform {

// The rules of one run, the same on every backend: how a handler is run, how a failure is
// reported, when a close request ends the run and with which exit code.
class ProgramRun {
 public:
  // `close` tears the backend down once the run has ended: windows gone, no further event.
  // `words` names the failures the program knows better than the system does.
  explicit ProgramRun(std::function<void()> close, FailureWordsTable words = {});
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Runs one handler. Nothing thrown gets past: an end unwinds to here, a failure is reported
  // here. Handlers never overlap: one raised while another runs (a message sent by another
  // program during a long call) is dropped.
  void Run(const Handler& handler);

  // The close box, Alt+F4, or WM_CLOSE from another program. While a handler runs the request
  // waits for it to finish: the load handler may be in the middle of the System Restore call,
  // and the user must still learn its outcome.
  void RequestClose();

  void SetExitCode(ExitCode code) { code_ = code; }
  ExitCode Code() const { return code_; }
  bool Ended() const { return ended_; }

  // The run under way on this thread.
  static ProgramRun& Current();

 private:
  void Finish(ExitCode code);
  void Report(const Failure& failure);

  std::function<void()> close_;
  FailureWordsTable words_;
  ProgramRun* previous_;
  ExitCode code_ = ExitCode::kCreated;
  bool ended_ = false;
  bool running_ = false;
  bool closeRequested_ = false;
};

}  // namespace platform
