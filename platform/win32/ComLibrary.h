#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

// ole32 and oleaut32 are loaded when System Restore is asked, not at start: the window paints
// sooner without them, and only a run that passed the version check needs them.
namespace platform::win32::com {

struct Functions {
  decltype(&::CoInitialize) CoInitialize;
  decltype(&::CoUninitialize) CoUninitialize;
  decltype(&::CoGetObject) CoGetObject;
  decltype(&::SysAllocStringLen) SysAllocStringLen;
  decltype(&::SysFreeString) SysFreeString;
  decltype(&::SysStringLen) SysStringLen;
  decltype(&::VariantInit) VariantInit;
  decltype(&::VariantClear) VariantClear;
  decltype(&::VariantChangeType) VariantChangeType;
};

// Loads both from the system folder by full path, once. S_OK, or why they could not be loaded.
HRESULT Load();

// The functions; loads them first if need be, and a failed load is a Failure.
const Functions& Api();

// Load, then CoInitialize for this thread, once: S_OK or why not.
HRESULT Start();

// CoUninitialize, if Start initialised COM: after the last object is released.
void Stop();

}  // namespace platform::win32::com
