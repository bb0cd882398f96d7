#pragma once

#include "platform/Text.h"
#include "platform/Variant.h"

namespace Module1 {

// Only a number equal to 0 means System Restore recorded the point.
bool IsCreated(const platform::Variant& answer);

// One line naming what the service answered, for the failure status.
platform::Text DescribeAnswer(const platform::Variant& answer);

}  // namespace Module1
