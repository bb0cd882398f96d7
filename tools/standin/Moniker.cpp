#include "tools/standin/Moniker.h"

#include <cstring>

#include "platform/win32/Scoped.h"
#include "tools/standin/Clsid.h"
#include "tools/standin/Settings.h"
#include "tools/standin/SystemRestore.h"

namespace standin {

using platform::win32::ComPtr;

namespace {

// Out-pointers are cleared even when a method is not implemented, so callers never see garbage.
template <class T>
HRESULT NotImplemented(T** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace

HRESULT Moniker::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPersist) ||
      IsEqualIID(riid, IID_IPersistStream) || IsEqualIID(riid, IID_IMoniker)) {
    return Hand<IMoniker>(out);
  }
  return E_NOINTERFACE;
}

HRESULT Moniker::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = kClsid;
  return S_OK;
}

HRESULT Moniker::IsDirty() { return S_FALSE; }
HRESULT Moniker::Load(IStream*) { return E_NOTIMPL; }
HRESULT Moniker::Save(IStream*, BOOL) { return E_NOTIMPL; }
HRESULT Moniker::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }

HRESULT Moniker::BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    // Out of process, ole32 starts the server and hands back a proxy; the call then crosses
    // processes, the caller's apartment waiting in COM's modal loop as it does on XP.
    if (ServerAsked()) {
      return CoCreateInstance(kServerClsid, nullptr, CLSCTX_LOCAL_SERVER, riid, out);
    }
    return ComPtr<SystemRestore>(new SystemRestore())->QueryInterface(riid, out);
  });
}

HRESULT Moniker::BindToStorage(IBindCtx*, IMoniker*, REFIID, void** out) {
  return NotImplemented(out);
}

HRESULT Moniker::Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker** reduced) {
  return NotImplemented(reduced);
}

HRESULT Moniker::ComposeWith(IMoniker*, BOOL, IMoniker** composite) {
  return NotImplemented(composite);
}

HRESULT Moniker::Enum(BOOL, IEnumMoniker** monikers) { return NotImplemented(monikers); }

HRESULT Moniker::IsEqual(IMoniker* other) {
  return other == static_cast<IMoniker*>(this) ? S_OK : S_FALSE;
}

HRESULT Moniker::Hash(DWORD*) { return E_NOTIMPL; }
HRESULT Moniker::IsRunning(IBindCtx*, IMoniker*, IMoniker*) { return E_NOTIMPL; }
HRESULT Moniker::GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) { return E_NOTIMPL; }
HRESULT Moniker::Inverse(IMoniker** inverse) { return NotImplemented(inverse); }

HRESULT Moniker::CommonPrefixWith(IMoniker*, IMoniker** prefix) { return NotImplemented(prefix); }

HRESULT Moniker::RelativePathTo(IMoniker*, IMoniker** path) { return NotImplemented(path); }

HRESULT Moniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) {
  if (!name) return E_POINTER;
  const std::size_t bytes = (displayName_.size() + 1) * sizeof(wchar_t);
  *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*name) return E_OUTOFMEMORY;
  std::memcpy(*name, displayName_.c_str(), bytes);
  return S_OK;
}

HRESULT Moniker::ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG* eaten, IMoniker** out) {
  if (eaten) *eaten = 0;
  return NotImplemented(out);
}

HRESULT Moniker::IsSystemMoniker(DWORD* kind) {
  if (!kind) return E_POINTER;
  *kind = MKSYS_NONE;
  return S_FALSE;
}

}  // namespace standin
