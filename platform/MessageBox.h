#pragma once

#include "platform/Text.h"

namespace platform {

// Modal box with an OK button and no icon; returns when the user dismisses it.
// Without a title it bears the application title.
void MsgBox(const Text& prompt);
void MsgBox(const Text& prompt, const Text& title);

// The application title: RunProgram gives it; code that shows a box or raises a failure outside
// a run gives it first. The text must outlive its use.
void SetApplicationTitle(const wchar_t* title);

}  // namespace platform
