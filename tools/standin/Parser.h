#pragma once

#include "tools/standin/ComObject.h"

namespace standin {

// Takes the whole "winmgmts:..." display name and answers with a moniker that binds to the
// stand-in System Restore object.
HRESULT ParseWinmgmtsName(LPOLESTR name, ULONG* eaten, IMoniker** out);

// An instance of the class, for callers that create one rather than asking the class object.
class Parser final : public ComObject<IParseDisplayName> {
 public:
  Parser() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                             IMoniker** out) override;
};

}  // namespace standin
