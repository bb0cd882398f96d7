#pragma once

#include "tools/standin/ComObject.h"

namespace standin {

// What ole32 gets for the winmgmts ProgID's class. MkParseDisplayName asks the class object
// itself for IParseDisplayName first; were it refused, Wine would go on to start a dllhost
// surrogate before trying IClassFactory.
class ClassObject final : public ComObject<IClassFactory, IParseDisplayName> {
 public:
  ClassObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                             IMoniker** out) override;
};

}  // namespace standin
