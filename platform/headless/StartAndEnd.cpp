#include "platform/Program.h"

#include "platform/MessageBox.h"
#include "platform/ProcessEnd.h"
#include "platform/headless/World.h"

namespace platform {

using headless::World;

namespace backend {

void EndProcess(ExitCode code) {
  World::Get().Finish(code);
  throw headless::ProcessEnded{code};
}

}  // namespace backend

// Runs until the program ends or has nothing left to wait for; -1 means it is still running.
int RunProgram(const FormDefinition& definition, const HandlersPlace& handlers,
               const wchar_t* applicationTitle, const FailureWordsTable& words) {
  SetApplicationTitle(applicationTitle);
  World& world = World::Get();
  world.RunForm(definition, handlers, words);
  return world.Exit() ? static_cast<int>(*world.Exit()) : -1;
}

}  // namespace platform
