#include "platform/Variant.h"

#include "platform/Failure.h"

namespace platform {

bool Variant::IsNumber() const {
  switch (type) {
    case kInt16:
    case kInt32:
    case kReal32:
    case kReal64:
    case kUInt8:
    case kUInt16:
    case kUInt32:
    case kInt64:
    case kUInt64:
    case kInt:
    case kUInt:
      return true;
    default:
      // Booleans, text, Empty and Null are answers, but not numbers.
      return false;
  }
}

bool Variant::IsPassable() const {
  switch (type) {
    case kEmpty:
    case kNull:
    case kText:
    case kInt16:
    case kInt32:
      return true;
    default:
      return false;
  }
}

void RequirePassable(std::initializer_list<Variant> arguments) {
  for (const Variant& argument : arguments) {
    if (!argument.IsPassable()) Raise(Failure(kTypeMismatchFailure, L"Type mismatch"));
  }
}

}  // namespace platform
