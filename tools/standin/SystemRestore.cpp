#include "tools/standin/SystemRestore.h"

#include <cwchar>
#include <string>

#include "platform/win32/Scoped.h"
#include "tools/standin/Journal.h"
#include "tools/standin/Pause.h"
#include "tools/standin/Settings.h"

namespace standin {

using platform::win32::ScopedVariant;

namespace {

constexpr DISPID kCreateRestorePoint = 1;
constexpr wchar_t kCreateRestorePointName[] = L"CreateRestorePoint";
constexpr UINT kDiedMidCall = 0xDEAD;

std::wstring Hex(HRESULT code) {
  wchar_t text[12];
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%08lX", static_cast<unsigned long>(code));
  return text;
}

// "error|80041001|Generic failure", "error|8002000E": how a failed call answered.
std::wstring DescribeFailure(HRESULT hr, const EXCEPINFO* exception) {
  if (hr != DISP_E_EXCEPTION || !exception) return L"error|" + Hex(hr);
  std::wstring text = L"error|" + Hex(exception->scode);
  if (exception->bstrDescription) {
    text +=
        L"|" + std::wstring(exception->bstrDescription, SysStringLen(exception->bstrDescription));
  }
  return text;
}

// Fails the call the way a WMI method does: the details travel in EXCEPINFO.
HRESULT FailWithExcepInfo(EXCEPINFO* exception, HRESULT code, const std::wstring* description) {
  if (exception) {
    *exception = EXCEPINFO();
    exception->scode = code;
    exception->bstrSource = SysAllocString(L"SWbemObjectEx");
    if (description) {
      exception->bstrDescription =
          SysAllocStringLen(description->data(), static_cast<UINT>(description->size()));
    }
  }
  return DISP_E_EXCEPTION;
}

// Positional argument `position` of the call; Invoke lists them last to first.
const VARIANT& Argument(const DISPPARAMS& params, UINT position) {
  return params.rgvarg[params.cArgs - 1 - position];
}

bool Convert(const DISPPARAMS& params, UINT position, VARTYPE type, ScopedVariant& to,
             UINT* badArgument) {
  if (SUCCEEDED(VariantChangeType(to.Get(), const_cast<VARIANT*>(&Argument(params, position)), 0,
                                  type))) {
    return true;
  }
  if (badArgument) *badArgument = params.cArgs - 1 - position;
  return false;
}

}  // namespace

SystemRestore::~SystemRestore() {
  try {
    RecordEvent(L"release|SystemRestore");
  } catch (...) {
    // A destructor reached from Release must not throw; the log line is lost.
  }
}

HRESULT SystemRestore::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    return Hand<IDispatch>(out);
  }
  return E_NOINTERFACE;
}

HRESULT SystemRestore::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT SystemRestore::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT SystemRestore::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  if (count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  // Automation names are case-insensitive; the method takes no named arguments.
  if (!names[0] || lstrcmpiW(names[0], kCreateRestorePointName) != 0) return DISP_E_UNKNOWNNAME;
  ids[0] = kCreateRestorePoint;
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT SystemRestore::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (id != kCreateRestorePoint || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
  return Guarded([&] { return CreateRestorePoint(*params, result, exception, badArgument); });
}

HRESULT SystemRestore::CreateRestorePoint(const DISPPARAMS& params, VARIANT* result,
                                          EXCEPINFO* exception, UINT* badArgument) {
  std::wstring line = std::wstring(L"call|") + kCreateRestorePointName;
  for (UINT i = 0; i < params.cArgs; ++i) line += L"|" + DescribeArgument(Argument(params, i));
  RecordEvent(line);

  PauseCall(DelayAsked());
  // As a service's process killed mid-call: no answer, no release, no clean-up.
  if (FailureAsked().at == FailAt::kDie) ExitProcess(kDiedMidCall);

  ScopedVariant answer;
  const HRESULT hr = Answer(params, *answer.Get(), exception, badArgument);
  if (FAILED(hr)) {
    RecordEvent(L"answer|" + DescribeFailure(hr, exception));
    return hr;
  }
  RecordEvent(L"answer|" + DescribeArgument(*answer));
  if (result) {
    VariantInit(result);
    *result = *answer.Get();
    VariantInit(answer.Get());  // ownership went to the caller
  }
  return S_OK;
}

HRESULT SystemRestore::Answer(const DISPPARAMS& params, VARIANT& answer, EXCEPINFO* exception,
                              UINT* badArgument) {
  const FailSetting failure = FailureAsked();
  if (failure.at == FailAt::kCall) {
    return FailWithExcepInfo(exception, failure.code,
                             failure.described ? &failure.description : nullptr);
  }
  if (params.cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  if (params.cArgs != 3) return DISP_E_BADPARAMCOUNT;

  ScopedVariant description, type, event;
  if (!Convert(params, 0, VT_BSTR, description, badArgument) ||
      !Convert(params, 1, VT_I4, type, badArgument) ||
      !Convert(params, 2, VT_I4, event, badArgument)) {
    return DISP_E_TYPEMISMATCH;
  }

  std::wstring setting;
  if (!AnswerAsked(answer, setting)) {
    const std::wstring description = L"FERRULE_STANDIN_ANSWER is not an answer: " + setting;
    return FailWithExcepInfo(exception, E_INVALIDARG, &description);
  }
  if (V_VT(&answer) == VT_I4 && answer.lVal == 0) {
    RecordRestorePoint(std::wstring((*description).bstrVal, SysStringLen((*description).bstrVal)),
                       (*type).lVal, (*event).lVal);
  }
  return S_OK;
}

}  // namespace standin
