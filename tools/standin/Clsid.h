#pragma once

#include <windows.h>

namespace standin {

// The stand-in's class; scripts/register-standin writes the same value into a prefix.
// {FC9E4CC3-A2E3-4DE8-97B0-EA0DE22B3767}
inline constexpr CLSID kClsid = {
    0xFC9E4CC3, 0xA2E3, 0x4DE8, {0x97, 0xB0, 0xEA, 0x0D, 0xE2, 0x2B, 0x37, 0x67}};

// The class Wine registers for the winmgmts ProgID, which the stand-in replaces.
// {172BDDF8-CEEA-11D1-8B05-00600806D9B6}
inline constexpr CLSID kWineWinmgmtsClsid = {
    0x172BDDF8, 0xCEEA, 0x11D1, {0x8B, 0x05, 0x00, 0x60, 0x08, 0x06, 0xD9, 0xB6}};

}  // namespace standin
