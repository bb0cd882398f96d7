#include "platform/Automation.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include "platform/win32/ComFailure.h"
#include "platform/win32/Scoped.h"

namespace platform {

using win32::ComFailure;
using win32::ComPtr;
using win32::ScopedBstr;
using win32::ScopedVariant;
using win32::VariantArray;

namespace {

void ToVariant(const Variant& from, VARIANT& to) {
  switch (from.type) {
    case Variant::kText:
      to.vt = VT_BSTR;
      to.bstrVal = ScopedBstr(from.text.data(), static_cast<UINT>(from.text.size())).Detach();
      break;
    case Variant::kInt16:
      to.vt = VT_I2;
      to.iVal = static_cast<SHORT>(from.number);
      break;
    case Variant::kInt32:
      to.vt = VT_I4;
      to.lVal = static_cast<LONG>(from.number);
      break;
    case Variant::kNull:
      to.vt = VT_NULL;
      break;
    default:
      to.vt = VT_EMPTY;
      break;
  }
}

Variant FromVariant(const VARIANT& from) {
  Variant result;
  result.type = Variant::Type(V_VT(&from));
  if (V_VT(&from) == VT_BSTR) {
    result.text.assign(from.bstrVal, SysStringLen(from.bstrVal));
    return result;
  }
  if (result.IsNumber()) {
    ScopedVariant real;
    if (SUCCEEDED(VariantChangeType(real.Get(), const_cast<VARIANT*>(&from), 0, VT_R8))) {
      result.number = (*real).dblVal;
    }
    return result;
  }
  if (V_VT(&from) != VT_EMPTY && V_VT(&from) != VT_NULL && V_VT(&from) != VT_BOOL) {
    result.type = Variant::kOther;
  }
  return result;
}

// Takes what a failed Invoke left in EXCEPINFO, freeing its strings.
Failure InvokeFailure(HRESULT hr, EXCEPINFO& info) {
  if (hr != DISP_E_EXCEPTION) return ComFailure(hr);
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  ScopedBstr description, source, help;
  *description.Receive() = info.bstrDescription;
  *source.Receive() = info.bstrSource;
  *help.Receive() = info.bstrHelpFile;
  const HRESULT code = info.scode != 0 ? info.scode : static_cast<HRESULT>(info.wCode);
  if (description.Get() && SysStringLen(description.Get()) > 0) {
    return Failure(code, Text(description.Get(), SysStringLen(description.Get())));
  }
  return ComFailure(code);
}

}  // namespace

AutomationObject::~AutomationObject() {
  if (object_) static_cast<IDispatch*>(object_)->Release();
}

AutomationObject GetAutomationObject(const Text& displayName) {
  ComPtr<IDispatch> object;
  HRESULT hr = CoGetObject(displayName.c_str(), nullptr, IID_IDispatch, object.Receive());
  if (FAILED(hr)) throw ComFailure(hr);
  return AutomationObject(object.Detach());
}

Variant AutomationObject::Call(const Text& method, const std::vector<Variant>& arguments) {
  if (!object_) throw Failure(kObjectRequiredFailure, L"Object required");
  auto* dispatch = static_cast<IDispatch*>(object_);

  DISPID id = 0;
  auto* name = const_cast<LPOLESTR>(method.c_str());
  HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw ComFailure(hr, L"Object doesn't support this property or method");

  // Invoke wants the arguments last to first.
  VariantArray args(arguments.size());
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    ToVariant(arguments[i], args[arguments.size() - 1 - i]);
  }
  DISPPARAMS params = {args.Data(), nullptr, static_cast<UINT>(args.Size()), 0};
  ScopedVariant result;
  EXCEPINFO info = {};
  UINT badArgument = 0;
  hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                        &params, result.Get(), &info, &badArgument);
  if (FAILED(hr)) throw InvokeFailure(hr, info);
  return FromVariant(*result);
}

}  // namespace platform
