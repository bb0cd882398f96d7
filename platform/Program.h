#pragma once

#include "platform/ExitCode.h"
#include "platform/FailureWords.h"
#include "platform/Form.h"
#include "platform/FormDefinition.h"

namespace platform {

// Where the program's handlers object is built, once the form exists.
struct HandlersPlace {
  void* place;
  void (*create)(void* place, Form& form);
  void (*destroy)(void* place);
};

// Creates the start-up form from its definition, builds the program's handlers in `handlers`,
// raises the load event once and delivers events until the program ends. The handlers go
// before the form, so none outlives the controls it uses. Boxes that name no title of their own,
// failure reports among them, bear `applicationTitle`. A failure whose number is in `words` is
// reported in those words. Returns the process exit code where the backend returns at all.
int RunProgram(const FormDefinition& definition, const HandlersPlace& handlers,
               const wchar_t* applicationTitle, const FailureWordsTable& words);

// The same, with the handlers held by an object of type Handlers built from the form.
template <class Handlers>
int RunProgram(const FormDefinition& definition, const wchar_t* applicationTitle,
               const FailureWordsTable& words = {}) {
  alignas(Handlers) unsigned char place[sizeof(Handlers)];
  const HandlersPlace handlers = {place, [](void* at, Form& form) { new (at) Handlers(form); },
                                  [](void* at) { static_cast<Handlers*>(at)->~Handlers(); }};
  return RunProgram(definition, handlers, applicationTitle, words);
}

// The code an ordinary end (countdown, Close, close box) reports.
void SetExitCode(ExitCode code);

// Ends the program at once: the calling handler does not go on, no further event arrives.
[[noreturn]] void End();
[[noreturn]] void End(ExitCode code);

}  // namespace platform
