#pragma once

#include <string>
#include <vector>

#include "Commands.h"

namespace driver {

// Lines another program appends to a file while the driver runs, such as the stand-in
// service's call log: NAME names what is printed, PREFIX is how the line starts.

// wait-line NAME FILE PREFIX MS: prints NAME_at (when it was first seen) and NAME (the line).
bool WaitLine(Session& s, const std::vector<std::wstring>& a);

// has-line NAME FILE PREFIX: prints NAME=1 when such a line is there now, else NAME=0.
bool HasLine(Session& s, const std::vector<std::wstring>& a);

// clock: prints clock=TICKS MS, GetTickCount at this driver time, so that lines another Wine
// process stamped with the same tick count (WINEDEBUG=+timestamp) can be put on this clock.
bool Clock(Session& s, const std::vector<std::wstring>& a);

}  // namespace driver
