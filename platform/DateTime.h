#pragma once

#include "platform/Text.h"

namespace platform {

// The current date alone and the current time of day alone, as text in the user's
// regional short-date and time formats.
Text CurrentDateText();
Text CurrentTimeText();

}  // namespace platform
