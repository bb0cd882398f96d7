#include "platform/Program.h"

#include "platform/headless/World.h"

namespace platform {

using headless::World;

// Runs until the program ends or has nothing left to wait for; -1 means it is still running.
int RunProgram(const FormDefinition& definition,
               const std::function<std::shared_ptr<void>(Form&)>& bind,
               const FailureWordsTable& words) {
  World& world = World::Get();
  world.RunForm(definition, bind, words);
  return world.Exit() ? static_cast<int>(*world.Exit()) : -1;
}

}  // namespace platform
