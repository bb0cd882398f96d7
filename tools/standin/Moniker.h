#pragma once

#include <string>

#include "tools/standin/ComObject.h"

namespace standin {

// The parsed "winmgmts:" name. Only binding is needed on the path from CoGetObject; the rest of
// IMoniker answers E_NOTIMPL.
class Moniker final : public ComObject<IMoniker> {
 public:
  explicit Moniker(std::wstring displayName) : displayName_(std::move(displayName)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

  // IPersist, IPersistStream
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;

  // IMoniker
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* context, IMoniker* left, REFIID riid,
                                         void** out) override;
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid,
                                          void** out) override;
  HRESULT STDMETHODCALLTYPE Reduce(IBindCtx* context, DWORD howFar, IMoniker** toLeft,
                                   IMoniker** reduced) override;
  HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker* right, BOOL onlyIfNotGeneric,
                                        IMoniker** composite) override;
  HRESULT STDMETHODCALLTYPE Enum(BOOL forward, IEnumMoniker** monikers) override;
  HRESULT STDMETHODCALLTYPE IsEqual(IMoniker* other) override;
  HRESULT STDMETHODCALLTYPE Hash(DWORD* hash) override;
  HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx* context, IMoniker* left,
                                      IMoniker* newlyRunning) override;
  HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx* context, IMoniker* left,
                                                FILETIME* time) override;
  HRESULT STDMETHODCALLTYPE Inverse(IMoniker** inverse) override;
  HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker* other, IMoniker** prefix) override;
  HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker* other, IMoniker** path) override;
  HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* context, IMoniker* left,
                                           LPOLESTR* name) override;
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx* context, IMoniker* left, LPOLESTR name,
                                             ULONG* eaten, IMoniker** out) override;
  HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD* kind) override;

 private:
  const std::wstring displayName_;
};

}  // namespace standin
