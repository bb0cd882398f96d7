#include "platform/Automation.h"

#include "platform/headless/World.h"

namespace platform {

using headless::World;

struct AutomationInstance {
  Text displayName;
};

namespace backend {

void ReleaseInstance(AutomationInstance* object) {
  delete object;
  World::Get().ObjectReleased();
  World::Get().Log(L"release");
}

}  // namespace backend

AutomationObject GetAutomationObject(const Text& displayName) {
  World& world = World::Get();
  world.RecordBind(displayName);
  world.Log(L"bind " + displayName);
  if (world.bindFailure) Raise(*world.bindFailure);
  world.ObjectCreated();
  return AutomationObject(new AutomationInstance{displayName});
}

Variant AutomationObject::Call(const Text& method, std::initializer_list<Variant> arguments) {
  if (!object_) Raise(Failure(kObjectRequiredFailure, L"Object required"));
  RequirePassable(arguments);
  World& world = World::Get();
  const headless::AutomationCall& call = world.RecordCall({headless::WideOf(method), arguments});
  if (world.callFailure) Raise(*world.callFailure);
  return world.answer ? world.answer(call) : Variant::Empty();
}

}  // namespace platform
