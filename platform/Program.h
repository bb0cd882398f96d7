#pragma once

#include <functional>
#include <memory>

#include "platform/ExitCode.h"
#include "platform/FailureWords.h"
#include "platform/Form.h"
#include "platform/FormDefinition.h"

namespace platform {

// Creates the start-up form from its definition, lets `bind` attach the program's handlers,
// raises the load event once and delivers events until the program ends. What `bind` returns
// is destroyed before the form, so no handler outlives the controls it uses.
// A failure whose number is in `words` is reported in those words. Returns the process exit code.
int RunProgram(const FormDefinition& definition,
               const std::function<std::shared_ptr<void>(Form&)>& bind,
               const FailureWordsTable& words);

// The same, with the handlers held by an object of type Handlers built from the form.
template <class Handlers>
int RunProgram(const FormDefinition& definition, const FailureWordsTable& words = {}) {
  return RunProgram(
      definition,
      [](Form& form) -> std::shared_ptr<void> { return std::make_shared<Handlers>(form); }, words);
}

// The code an ordinary end (countdown, Close, close box) reports.
void SetExitCode(ExitCode code);

// Ends the program at once: the calling handler does not go on, no further event arrives.
[[noreturn]] void End();
[[noreturn]] void End(ExitCode code);

}  // namespace platform
