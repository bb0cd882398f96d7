#include "platform/Program.h"

#include "platform/ProgramEnd.h"
#include "platform/headless/World.h"

namespace platform {

using headless::World;

// Runs until the program ends or has nothing left to wait for; -1 means it is still running.
int RunProgram(const FormDefinition& definition, const std::function<void(Form&)>& bind) {
  World& world = World::Get();
  world.RunForm(definition, bind);
  return world.Exit() ? static_cast<int>(*world.Exit()) : -1;
}

void SetExitCode(ExitCode code) { World::Get().SetCurrentExitCode(code); }

void End() { throw ProgramEnd{World::Get().CurrentExitCode()}; }

void End(ExitCode code) { throw ProgramEnd{code}; }

}  // namespace platform
