#pragma once

#include <windows.h>

#include <string>

namespace driver {

// Everything the tests look at in the Ferrule window, as PREFIX.key=value lines: title, frame
// styles, rectangles, screen, locale date and time, focus, and each control; for a static also
// its alignment and its text measured in its own font.
void DescribeForm(HWND form, const std::string& prefix);

// A message box's text, buttons, icons, font file and owner ("form" when it is the Ferrule
// window).
void DescribeBox(HWND box, HWND form);

}  // namespace driver
