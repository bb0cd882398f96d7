#pragma once

#include "platform/FormDefinition.h"
#include "res/resource.h"

namespace res {

using platform::ControlDefinition;
using platform::ControlKind;

// Stored, and created, in this order.
inline constexpr ControlDefinition kForm1Controls[] = {
    {L"Timer1", ControlKind::kTimer, nullptr, 0, 0, 0, 0, -1},
    {L"cmdClose", ControlKind::kCommandButton, L"C&lose", 2880, 960, 975, 375, 1},
    {L"Label2", ControlKind::kLabel, L"Closing in 5 seconds.", 240, 960, 2175, 255, 2},
    {L"Label1", ControlKind::kLabel, L"Creating System Restore Point..........", 240, 120, 3495,
     735, 0},
};

inline constexpr platform::FormDefinition kForm1 = {
    L"Form1",
    L"Creating Restore Point",
    4110,
    1440,
    IDI_FERRULE,
    kForm1Controls,
    sizeof(kForm1Controls) / sizeof(kForm1Controls[0]),
};

}  // namespace res
