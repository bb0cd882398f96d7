#pragma once

#include <windows.h>

#include <oleauto.h>

#include "tools/standin/ComObject.h"

namespace standin {

// The bound WMI class: a late-bound object with the one method CreateRestorePoint.
// Records each call and its answer, and answers as the environment asks.
class SystemRestore final : public ComObject<IDispatch> {
 public:
  SystemRestore() = default;
  ~SystemRestore() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override;

 private:
  HRESULT CreateRestorePoint(const DISPPARAMS& params, VARIANT* result, EXCEPINFO* exception,
                             UINT* badArgument);
  // What the service answers, once the call's time is up; DISP_E_EXCEPTION fills `exception`.
  HRESULT Answer(const DISPPARAMS& params, VARIANT& answer, EXCEPINFO* exception,
                 UINT* badArgument);
};

}  // namespace standin
