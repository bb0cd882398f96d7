#pragma once

#include <windows.h>

#include "platform/Form.h"

// What the win32 backend's own files share with one another, and nothing outside it uses.
namespace platform::win32 {

// The form's window while it exists: message boxes belong to it, so a modal box really
// disables it. Null before it is created and once it is destroyed.
HWND MainWindow();
void SetMainWindow(HWND window);

// Calls one of the program's handlers under the run's rules.
void Invoke(const Handler& handler);

// A close request from the window or another program (close box, Alt+F4, WM_CLOSE, SC_CLOSE).
void RequestClose();

// Input that reached the queue while the thread was held by a long call is dropped: the user
// could not see what it would land on, and an Escape typed then must not dismiss the box that
// follows. A close request among it (Alt+F4, a click on the close box) is kept.
void DropInputQueuedDuringCall();

}  // namespace platform::win32
