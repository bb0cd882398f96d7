#include "platform/Automation.h"

#include "platform/headless/World.h"

namespace platform {

using headless::World;

namespace {

struct StandInObject {
  Text displayName;
};

}  // namespace

AutomationObject::~AutomationObject() {
  if (!object_) return;
  delete static_cast<StandInObject*>(object_);
  World::Get().ObjectReleased();
  World::Get().Log(L"release");
}

AutomationObject GetAutomationObject(const Text& displayName) {
  World& world = World::Get();
  world.RecordBind(displayName);
  world.Log(L"bind " + displayName);
  if (world.bindFailure) throw *world.bindFailure;
  world.ObjectCreated();
  return AutomationObject(new StandInObject{displayName});
}

Variant AutomationObject::Call(const Text& method, const std::vector<Variant>& arguments) {
  if (!object_) throw Failure(kObjectRequiredFailure, L"Object required");
  World& world = World::Get();
  const headless::AutomationCall& call = world.RecordCall({method, arguments});
  if (world.callFailure) throw *world.callFailure;
  return world.answer ? world.answer(call) : Variant::Empty();
}

}  // namespace platform
