// What regsvr32 asks of the DLL: "winmgmts:" monikers bind to the stand-in, and
// FerruleStandInServer.exe, beside the DLL, is the local server of its own class. Written under
// HKCR, so a Wine prefix saves them in system.reg. Wine's own class stays registered:
// unregistering points the ProgID back at it.
#include <windows.h>

#include <objbase.h>

#include <string>

#include "tools/standin/Clsid.h"
#include "tools/standin/ComObject.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this DLL's own module, as the linker places it

namespace standin {

namespace {

constexpr wchar_t kServerName[] = L"FerruleStandInServer.exe";

class ScopedKey {
 public:
  ScopedKey() = default;
  ~ScopedKey() {
    if (key_) RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  HKEY* Receive() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

HRESULT FromStatus(LONG status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

// A string value of HKCR\path, the key made if need be; a null name is the key's default.
HRESULT SetString(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  ScopedKey key;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, key.Receive(), nullptr);
  if (status != ERROR_SUCCESS) return FromStatus(status);
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  status = RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          bytes);
  return FromStatus(status);
}

std::wstring ClassKey(const wchar_t* clsid) { return std::wstring(L"CLSID\\") + clsid; }

// HKCR\CLSID\{clsid} and its one subkey; absent already is fine.
HRESULT DeleteClass(const wchar_t* clsid, const wchar_t* subKey) {
  const std::wstring key = ClassKey(clsid);
  for (const std::wstring& path : {key + L"\\" + subKey, key}) {
    const LONG status = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return FromStatus(status);
  }
  return S_OK;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

constexpr wchar_t kProgIdKey[] = L"winmgmts\\CLSID";

HRESULT Register() {
  const std::wstring dll = ModulePath();
  if (dll.empty()) return HRESULT_FROM_WIN32(GetLastError());
  const std::wstring server = dll.substr(0, dll.rfind(L'\\') + 1) + kServerName;
  if (GetFileAttributesW(server.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  }
  const std::wstring inproc = ClassKey(kClsidText) + L"\\InprocServer32";
  const struct {
    std::wstring path;
    const wchar_t* name;
    std::wstring value;
  } values[] = {
      {ClassKey(kClsidText), nullptr, L"Ferrule stand-in System Restore"},
      {inproc, nullptr, dll},
      {inproc, L"ThreadingModel", L"Apartment"},
      {ClassKey(kServerClsidText), nullptr, L"Ferrule stand-in System Restore, out of process"},
      // ole32 starts the local server with this command line and " -Embedding".
      {ClassKey(kServerClsidText) + L"\\LocalServer32", nullptr, L"\"" + server + L"\""},
      {kProgIdKey, nullptr, kClsidText},
  };
  for (const auto& v : values) {
    const HRESULT hr = SetString(v.path, v.name, v.value);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT Unregister() {
  HRESULT hr = SetString(kProgIdKey, nullptr, kWineWinmgmtsClsidText);
  if (SUCCEEDED(hr)) hr = DeleteClass(kClsidText, L"InprocServer32");
  if (SUCCEEDED(hr)) hr = DeleteClass(kServerClsidText, L"LocalServer32");
  return hr;
}

}  // namespace

}  // namespace standin

STDAPI DllRegisterServer() { return standin::Guarded(standin::Register); }

STDAPI DllUnregisterServer() { return standin::Guarded(standin::Unregister); }
