#pragma once
// Under qemu-user's i386 emulation a wait for something to happen may last longer, by the factor
// scripts/lib/i386.sh defines and hands to every Wine start as FERRULE_WAIT_FACTOR; natively the
// variable is unset and waits are as written.
#include <windows.h>

#include <cwchar>

inline DWORD ScaledWait(DWORD ms) {
  static const DWORD factor = [] {
    wchar_t text[8];
    const DWORD length = GetEnvironmentVariableW(L"FERRULE_WAIT_FACTOR", text, 8);
    if (length == 0 || length >= 8) return 1ul;
    const unsigned long value = std::wcstoul(text, nullptr, 10);
    return value >= 1 && value <= 100 ? value : 1ul;
  }();
  return ms * factor;
}
