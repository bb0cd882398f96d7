#pragma once

#include "platform/Text.h"

// What each backend provides for message boxes; MsgBox decides which to use.
namespace platform::backend {

// Whether a box could be seen and answered: false in a window station without a visible
// display, where scheduled tasks, services and deployment tools run programs.
bool DisplayVisible();

// The modal box itself; returns when it is dismissed.
void ShowMessageBox(const Text& prompt, const Text& title);

// One line to the standard error handle the caller supplied; nothing if it supplied none.
void WriteErrorLine(const Text& line);

}  // namespace platform::backend
