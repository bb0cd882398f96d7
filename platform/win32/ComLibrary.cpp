#include "platform/win32/ComLibrary.h"

#include "platform/Text.h"
#include "platform/win32/ComFailure.h"
#include "platform/win32/SystemFolder.h"

namespace platform::win32::com {

namespace {

Functions functions;
bool loaded = false;
bool initialised = false;

// A system DLL by its full path: a file of that name in the current folder is never taken.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  const Text path = SystemFolderPath(name);
  if (path.empty()) return nullptr;
  return LoadLibraryW(path.c_str());
}

template <class Function>
bool Find(HMODULE module, const char* name, Function& function) {
  // Through void*: GCC rejects casting one function pointer type straight to another.
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

HRESULT LastError() {
  const DWORD error = GetLastError();
  return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

HRESULT Load() {
  if (loaded) return S_OK;
  HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
  if (!ole32) return LastError();
  HMODULE oleaut32 = LoadSystemLibrary(L"oleaut32.dll");
  if (!oleaut32) return LastError();
  Functions f = {};
  const bool found = Find(ole32, "CoInitialize", f.CoInitialize) &&
                     Find(ole32, "CoUninitialize", f.CoUninitialize) &&
                     Find(ole32, "CoGetObject", f.CoGetObject) &&
                     Find(oleaut32, "SysAllocStringLen", f.SysAllocStringLen) &&
                     Find(oleaut32, "SysFreeString", f.SysFreeString) &&
                     Find(oleaut32, "SysStringLen", f.SysStringLen) &&
                     Find(oleaut32, "VariantInit", f.VariantInit) &&
                     Find(oleaut32, "VariantClear", f.VariantClear) &&
                     Find(oleaut32, "VariantChangeType", f.VariantChangeType);
  if (!found) return LastError();
  functions = f;
  loaded = true;
  return S_OK;
}

const Functions& Api() {
  const HRESULT hr = Load();
  if (FAILED(hr)) Raise(ComFailure(hr));
  return functions;
}

HRESULT Start() {
  if (initialised) return S_OK;
  HRESULT hr = Load();
  if (FAILED(hr)) return hr;
  hr = functions.CoInitialize(nullptr);
  if (FAILED(hr)) return hr;
  initialised = true;
  return S_OK;
}

void Stop() {
  if (!initialised) return;
  initialised = false;
  functions.CoUninitialize();
}

}  // namespace platform::win32::com
