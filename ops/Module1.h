#pragma once

#include "platform/Int16.h"
#include "platform/Text.h"

namespace Module1 {

// Shared by the window's handlers for the whole run.
extern platform::ModuleText strStatus;
extern platform::Int16 intCountdown;

// Returns only on Windows XP; elsewhere tells the user so and ends the program.
void CheckWindowsVersion();

// Asks System Restore for a restore point and leaves the text to show in strStatus.
void MakeRestorePoint();

}  // namespace Module1
