#include "tools/standin/ServerClassFactory.h"

#include "platform/win32/Scoped.h"
#include "tools/standin/SystemRestore.h"

namespace standin {

HRESULT ServerClassFactory::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
    return E_NOINTERFACE;
  }
  *out = static_cast<IClassFactory*>(this);
  return S_OK;
}

HRESULT ServerClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return Guarded([&] {
    return platform::win32::ComPtr<SystemRestore>(new SystemRestore())->QueryInterface(riid, out);
  });
}

HRESULT ServerClassFactory::LockServer(BOOL lock) {
  LockModule(lock != FALSE);
  return S_OK;
}

}  // namespace standin
