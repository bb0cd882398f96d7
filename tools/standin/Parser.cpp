#include "tools/standin/Parser.h"

#include <string>

#include "tools/standin/Journal.h"
#include "tools/standin/Moniker.h"
#include "tools/standin/Settings.h"

namespace standin {

HRESULT ParseWinmgmtsName(LPOLESTR name, ULONG* eaten, IMoniker** out) {
  if (!name || !eaten || !out) return E_POINTER;
  *eaten = 0;
  *out = nullptr;
  return Guarded([&] {
    const std::wstring displayName(name);
    RecordEvent(L"bind|" + displayName);
    const FailSetting failure = FailureAsked();
    if (failure.at == FailAt::kBind) return failure.code;
    *out = new Moniker(displayName);
    // All of it: ole32 would otherwise ask the moniker to parse the rest.
    *eaten = static_cast<ULONG>(displayName.size());
    return S_OK;
  });
}

HRESULT Parser::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IParseDisplayName)) {
    return Hand<IParseDisplayName>(out);
  }
  return E_NOINTERFACE;
}

HRESULT Parser::ParseDisplayName(IBindCtx*, LPOLESTR name, ULONG* eaten, IMoniker** out) {
  return ParseWinmgmtsName(name, eaten, out);
}

}  // namespace standin
