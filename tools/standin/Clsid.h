#pragma once

#include <windows.h>

namespace standin {

// The stand-in's class; scripts/register-standin writes the same value into a prefix.
// {FC9E4CC3-A2E3-4DE8-97B0-EA0DE22B3767}
inline constexpr CLSID kClsid = {
    0xFC9E4CC3, 0xA2E3, 0x4DE8, {0x97, 0xB0, 0xEA, 0x0D, 0xE2, 0x2B, 0x37, 0x67}};

// The stand-in's System Restore object served from FerruleStandInServer.exe, a local server
// scripts/register-standin registers in the same prefix.
// {A6D955E0-C56A-49EA-B8AE-36FDAD9DB5EB}
inline constexpr CLSID kServerClsid = {
    0xA6D955E0, 0xC56A, 0x49EA, {0xB8, 0xAE, 0x36, 0xFD, 0xAD, 0x9D, 0xB5, 0xEB}};

// The class Wine registers for the winmgmts ProgID, which the stand-in replaces.
// {172BDDF8-CEEA-11D1-8B05-00600806D9B6}
inline constexpr CLSID kWineWinmgmtsClsid = {
    0x172BDDF8, 0xCEEA, 0x11D1, {0x8B, 0x05, 0x00, 0x60, 0x08, 0x06, 0xD9, 0xB6}};

}  // namespace standin
