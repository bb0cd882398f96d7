#include "platform/Variant.h"

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

}  // namespace platform
