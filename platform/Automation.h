#pragma once

#include <initializer_list>

#include "platform/Text.h"
#include "platform/Variant.h"

namespace platform {

// An object bound by the backend; opaque to the program.
struct AutomationInstance;

// A late-bound automation object, held for one procedure and released when it goes out of
// scope, or by the runtime when a failure or End ends the run first. It stays where it was
// made, so the runtime can find every object still held.
class AutomationObject {
 public:
  AutomationObject() : AutomationObject(nullptr) {}
  explicit AutomationObject(AutomationInstance* object);
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;
  ~AutomationObject();

  // Calls a method by name with positional arguments; a failed call is a Failure, and so is an
  // argument of a type that cannot be passed (see Variant::IsPassable).
  Variant Call(const Text& method, std::initializer_list<Variant> arguments);

  // Gives the object back now; a later call is an "Object required" failure.
  void Release();

 private:
  friend void ReleaseAutomationObjects();

  AutomationInstance* object_;
  AutomationObject* older_;
  AutomationObject* newer_ = nullptr;
};

// Binds to an object from a display name (moniker), as GetObject does without a class name.
// A name that cannot be bound is a Failure.
AutomationObject GetAutomationObject(const Text& displayName);

// Releases every object still held, newest first: the runtime's step before a failure's report
// and at the end of the run.
void ReleaseAutomationObjects();

namespace backend {
// Gives one bound object back to its server.
void ReleaseInstance(AutomationInstance* object);
}  // namespace backend

}  // namespace platform
