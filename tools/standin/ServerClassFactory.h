#pragma once

#include <windows.h>

#include <objbase.h>

namespace standin {

// The server's class object. It lives as long as the process, so ole32's references to it do
// not count: the server ends when the object it made is released, not when this is revoked.
class ServerClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

}  // namespace standin
