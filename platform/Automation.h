#pragma once

#include <vector>

#include "platform/Text.h"
#include "platform/Variant.h"

namespace platform {

// An object bound by the backend; opaque to the program.
struct AutomationInstance;

// A late-bound automation object, held for one procedure and released when it goes out of scope.
class AutomationObject {
 public:
  AutomationObject() = default;
  explicit AutomationObject(AutomationInstance* object) : object_(object) {}
  AutomationObject(AutomationObject&& other) noexcept : object_(other.object_) {
    other.object_ = nullptr;
  }
  AutomationObject& operator=(AutomationObject&&) = delete;
  AutomationObject(const AutomationObject&) = delete;
  ~AutomationObject();

  // Calls a method by name with positional arguments; a failed call is a Failure, and so is an
  // argument of a type that cannot be passed (see Variant::IsPassable).
  Variant Call(const Text& method, const std::vector<Variant>& arguments);

 private:
  AutomationInstance* object_ = nullptr;
};

// Binds to an object from a display name (moniker), as GetObject does without a class name.
// A name that cannot be bound is a Failure.
AutomationObject GetAutomationObject(const Text& displayName);

}  // namespace platform
