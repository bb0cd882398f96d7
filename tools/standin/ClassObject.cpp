#include "tools/standin/ClassObject.h"

#include "platform/win32/Scoped.h"
#include "tools/standin/Parser.h"

namespace standin {

using platform::win32::ComPtr;

HRESULT ClassObject::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    return Hand<IClassFactory>(out);
  }
  if (IsEqualIID(riid, IID_IParseDisplayName)) return Hand<IParseDisplayName>(out);
  return E_NOINTERFACE;
}

HRESULT ClassObject::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return Guarded([&] { return ComPtr<Parser>(new Parser())->QueryInterface(riid, out); });
}

HRESULT ClassObject::LockServer(BOOL lock) {
  LockModule(lock != FALSE);
  return S_OK;
}

HRESULT ClassObject::ParseDisplayName(IBindCtx*, LPOLESTR name, ULONG* eaten, IMoniker** out) {
  return ParseWinmgmtsName(name, eaten, out);
}

}  // namespace standin
