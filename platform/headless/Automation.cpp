#include "platform/Automation.h"

#include "platform/headless/World.h"

namespace platform {

using headless::World;

struct AutomationInstance {
  Text displayName;
};

AutomationObject::~AutomationObject() {
  if (!object_) return;
  delete object_;
  World::Get().ObjectReleased();
  World::Get().Log(L"release");
}

AutomationObject GetAutomationObject(const Text& displayName) {
  World& world = World::Get();
  world.RecordBind(displayName);
  world.Log(L"bind " + displayName);
  if (world.bindFailure) throw *world.bindFailure;
  world.ObjectCreated();
  return AutomationObject(new AutomationInstance{displayName});
}

Variant AutomationObject::Call(const Text& method, const std::vector<Variant>& arguments) {
  if (!object_) throw Failure(kObjectRequiredFailure, L"Object required");
  RequirePassable(arguments);
  World& world = World::Get();
  const headless::AutomationCall& call = world.RecordCall({method, arguments});
  if (world.callFailure) throw *world.callFailure;
  return world.answer ? world.answer(call) : Variant::Empty();
}

}  // namespace platform
