#include "platform/Automation.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include "platform/win32/AutomationInstance.h"
#include "platform/win32/ComFailure.h"
#include "platform/win32/ComLibrary.h"
#include "platform/win32/Internal.h"
#include "platform/win32/Scoped.h"

namespace platform {

using win32::AsDispatch;
using win32::AsInstance;
using win32::ComFailure;
using win32::ComPtr;
using win32::ScopedBstr;
using win32::ScopedVariant;
using win32::VariantArray;
namespace com = win32::com;

namespace {

// Here rather than from libuuid: the program links no static library but libgcc.
constexpr IID kIidNull = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr IID kIidDispatch = {0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

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
      break;  // Empty, as VariantInit left it; RequirePassable let nothing else through
  }
}

Variant FromVariant(const VARIANT& from) {
  Variant result;
  result.type = Variant::Type(V_VT(&from));
  if (V_VT(&from) == VT_BSTR) {
    result.text = Text(from.bstrVal, com::Api().SysStringLen(from.bstrVal));
    return result;
  }
  if (result.IsNumber()) {
    ScopedVariant real;
    if (SUCCEEDED(
            com::Api().VariantChangeType(real.Get(), const_cast<VARIANT*>(&from), 0, VT_R8))) {
      result.number = (*real).dblVal;
    } else {
      // A number we cannot read is no answer at all, and certainly not 0.
      result.type = Variant::kOther;
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
  // A server that fills in neither code still failed: the call's own HRESULT says so.
  const HRESULT code = info.scode != 0   ? info.scode
                       : info.wCode != 0 ? static_cast<HRESULT>(info.wCode)
                                         : hr;
  const UINT length = description.Get() ? com::Api().SysStringLen(description.Get()) : 0;
  if (length > 0) return Failure(code, Text(description.Get(), length));
  return ComFailure(code);
}

// On Windows XP the object lives in the WMI service and a call on it holds this thread for up
// to a minute; whatever the outcome, input queued meanwhile is dealt with before anything shows.
class LongCall {
 public:
  LongCall() = default;
  LongCall(const LongCall&) = delete;
  LongCall& operator=(const LongCall&) = delete;
  ~LongCall() { win32::DropInputQueuedDuringCall(); }
};

}  // namespace

namespace backend {

void ReleaseInstance(AutomationInstance* object) { AsDispatch(object)->Release(); }

}  // namespace backend

AutomationObject GetAutomationObject(const Text& displayName) {
  HRESULT hr = com::Start();
  if (FAILED(hr)) Raise(ComFailure(hr));
  ComPtr<IDispatch> object;
  {
    LongCall call;
    hr = com::Api().CoGetObject(displayName.c_str(), nullptr, kIidDispatch, object.Receive());
  }
  if (FAILED(hr)) Raise(ComFailure(hr));
  return AutomationObject(AsInstance(object.Detach()));
}

Variant AutomationObject::Call(const Text& method, std::initializer_list<Variant> arguments) {
  if (!object_) Raise(Failure(kObjectRequiredFailure, L"Object required"));
  RequirePassable(arguments);
  IDispatch* dispatch = AsDispatch(object_);

  DISPID id = 0;
  auto* name = const_cast<LPOLESTR>(method.c_str());
  HRESULT hr = dispatch->GetIDsOfNames(kIidNull, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) Raise(ComFailure(hr, L"Object doesn't support this property or method"));

  // Invoke wants the arguments last to first.
  const std::size_t count = arguments.size();
  VariantArray args(count);
  for (std::size_t i = 0; i < count; ++i) ToVariant(arguments.begin()[i], args[count - 1 - i]);
  DISPPARAMS params = {args.Data(), nullptr, static_cast<UINT>(count), 0};
  ScopedVariant result;
  EXCEPINFO info = {};
  UINT badArgument = 0;
  {
    LongCall call;
    hr = dispatch->Invoke(id, kIidNull, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          &params, result.Get(), &info, &badArgument);
  }
  if (FAILED(hr)) Raise(InvokeFailure(hr, info));
  return FromVariant(*result);
}

}  // namespace platform
