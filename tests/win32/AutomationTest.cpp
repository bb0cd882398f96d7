// The automation wrapper against a fake IDispatch built here, and ole32's binding of names.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Automation.h"
#include "platform/Failure.h"
#include "platform/win32/AutomationInstance.h"
#include "platform/win32/Scoped.h"
#include "tests/win32/FailureReport.h"

using platform::AutomationObject;
using platform::Failure;
using platform::Variant;
using platform::win32::ScopedVariant;

namespace {

constexpr long kWbemFailed = static_cast<long>(0x80041001);

std::wstring Describe(const VARIANT& v) {
  switch (V_VT(&v)) {
    case VT_EMPTY:
      return L"VT_EMPTY";
    case VT_NULL:
      return L"VT_NULL";
    case VT_I2:
      return L"VT_I2:" + std::to_wstring(v.iVal);
    case VT_I4:
      return L"VT_I4:" + std::to_wstring(v.lVal);
    case VT_BSTR:
      return L"VT_BSTR:" + std::wstring(v.bstrVal, SysStringLen(v.bstrVal));
    default:
      return L"VT_" + std::to_wstring(V_VT(&v));
  }
}

// Straight to the handle the report's line goes to, so the two stay in order.
void WriteError(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(strlen(text)), &written,
            nullptr);
}

// An automation object that records what reached it and answers as told. It lives on the test's
// stack, so its count shows how many references the wrapper gave back.
class FakeDispatch : public IDispatch {
 public:
  // What Invoke answers: a failure code, or S_OK with `answer`.
  HRESULT invokeResult = S_OK;
  EXCEPINFO exception = {};
  ScopedVariant answer;

  // What arrived.
  LONG refs = 1;
  std::wstring askedName;
  int invokes = 0;
  WORD flags = 0;
  UINT namedArguments = 0;
  std::vector<std::wstring> arguments;  // positional order, first argument first

  FakeDispatch() = default;
  FakeDispatch(const FakeDispatch&) = delete;
  FakeDispatch& operator=(const FakeDispatch&) = delete;
  ~FakeDispatch() {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
    AddRef();
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    // On the line the report follows, so a test can see the release came first.
    if (--refs == 0) WriteError("fake released; ");
    return refs;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                          DISPID* ids) override {
    askedName = names[0];
    if (askedName != L"CreateRestorePoint") {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    ids[0] = 7;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD how, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT*) override {
    ++invokes;
    if (id != 7) return DISP_E_MEMBERNOTFOUND;
    flags = how;
    namedArguments = params->cNamedArgs;
    for (UINT i = params->cArgs; i-- > 0;) arguments.push_back(Describe(params->rgvarg[i]));
    if (FAILED(invokeResult)) {
      if (info) *info = exception;
      exception = EXCEPINFO();  // the strings now belong to the caller
      return invokeResult;
    }
    return result ? VariantCopy(result, answer.Get()) : S_OK;
  }
};

// Fills EXCEPINFO only when asked, as a server with deferred fill-in does.
HRESULT STDMETHODCALLTYPE FillInLater(EXCEPINFO* info) {
  info->scode = kWbemFailed;
  info->bstrDescription = SysAllocString(L"Filled in later");
  return S_OK;
}

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(platform::win32::com::Start(), S_OK); }

  // The wrapper takes the fake's one reference.
  AutomationObject Wrap() { return AutomationObject(platform::win32::AsInstance(&fake_)); }

  Variant CallWith(std::initializer_list<Variant> arguments) {
    AutomationObject object = Wrap();
    return object.Call(L"CreateRestorePoint", arguments);
  }

  FakeDispatch fake_;
};

TEST_F(AutomationTest, PassesArgumentsInPositionalOrderWithTheirTypes) {
  CallWith({Variant::String(L"Automatic Restore Point"), Variant::Int16(0), Variant::Int16(100)});
  EXPECT_EQ(fake_.askedName, L"CreateRestorePoint");
  EXPECT_EQ(fake_.invokes, 1);
  EXPECT_EQ(fake_.arguments, (std::vector<std::wstring>{L"VT_BSTR:Automatic Restore Point",
                                                        L"VT_I2:0", L"VT_I2:100"}));
  EXPECT_EQ(fake_.namedArguments, 0u);
  EXPECT_TRUE(fake_.flags & DISPATCH_METHOD) << "flags " << fake_.flags;
}

TEST_F(AutomationTest, PassesEveryArgumentKind) {
  using namespace std::string_literals;
  CallWith({Variant::Int32(-70000), Variant::Int16(-32768), Variant::Null(), Variant::Empty(),
            Variant::String(platform::Text(L"a\0b", 3)), Variant::String(L"")});
  // The text keeps its length: a NUL inside does not cut it short.
  EXPECT_EQ(fake_.arguments,
            (std::vector<std::wstring>{L"VT_I4:-70000", L"VT_I2:-32768", L"VT_NULL", L"VT_EMPTY",
                                       L"VT_BSTR:a\0b"s, L"VT_BSTR:"}));
}

TEST_F(AutomationTest, ConvertsTheResult) {
  struct Case {
    VARTYPE vt;
    LONG number;
    const wchar_t* text;
    Variant::Type type;
  };
  const Case cases[] = {
      {VT_I4, 0, nullptr, Variant::kInt32},    {VT_I4, 1058, nullptr, Variant::kInt32},
      {VT_I4, -1, nullptr, Variant::kInt32},   {VT_I2, -3, nullptr, Variant::kInt16},
      {VT_EMPTY, 0, nullptr, Variant::kEmpty}, {VT_NULL, 0, nullptr, Variant::kNull},
      {VT_BSTR, 0, L"Denied", Variant::kText}, {VT_BSTR, 0, L"", Variant::kText},
  };
  for (const Case& c : cases) {
    FakeDispatch fake;
    VARIANT& answer = *fake.answer.Get();
    answer.vt = c.vt;
    if (c.vt == VT_I4) answer.lVal = c.number;
    if (c.vt == VT_I2) answer.iVal = static_cast<SHORT>(c.number);
    if (c.vt == VT_BSTR) answer.bstrVal = SysAllocString(c.text);
    SCOPED_TRACE(Describe(answer));
    Variant result;
    {
      AutomationObject object(platform::win32::AsInstance(&fake));
      result = object.Call(L"CreateRestorePoint", {});
    }
    EXPECT_EQ(result.type, c.type);
    EXPECT_EQ(result.number, c.number);
    EXPECT_EQ(result.text, c.text ? c.text : L"");
    EXPECT_EQ(fake.refs, 0);
  }
}

TEST_F(AutomationTest, ReleasesAnObjectItWasGivenAsTheResult) {
  FakeDispatch inner;
  VARIANT& answer = *fake_.answer.Get();
  answer.vt = VT_DISPATCH;
  answer.pdispVal = &inner;  // the answer holds the inner fake's one reference
  const Variant result = CallWith({});
  EXPECT_EQ(result.type, Variant::kOther);
  EXPECT_EQ(inner.refs, 1);
  answer.vt = VT_EMPTY;  // the inner fake is on the stack
}

// Each failure is reported with its number and words, after the object was given back.
TEST_F(AutomationTest, AFailedCallIsReportedAfterTheObjectIsReleased) {
  fake_.invokeResult = DISP_E_EXCEPTION;
  fake_.exception.scode = kWbemFailed;
  fake_.exception.bstrSource = SysAllocString(L"SWbemObjectEx");
  fake_.exception.bstrDescription = SysAllocString(L"Generic failure");
  EXPECT_REPORTED(CallWith({Variant::Int16(0)}),
                  "fake released; " REPORT_LINE "-2147217407 \\(80041001\\)': Generic failure");
}

TEST_F(AutomationTest, AnExceptionFilledInLaterIsFilledInBeforeItIsReported) {
  fake_.invokeResult = DISP_E_EXCEPTION;
  fake_.exception.pfnDeferredFillIn = FillInLater;
  EXPECT_REPORTED(CallWith({Variant::Int16(0)}),
                  "fake released; " REPORT_LINE "-2147217407 \\(80041001\\)': Filled in later");
}

TEST_F(AutomationTest, AnExceptionWithoutDescriptionKeepsItsNumberOrTheCalls) {
  fake_.invokeResult = DISP_E_EXCEPTION;
  fake_.exception.wCode = 1058;
  EXPECT_REPORTED(CallWith({Variant::Int16(0)}), "fake released; " REPORT_LINE "1058': ");

  // Neither code filled in: still a failure, never "error 0".
  fake_.exception = EXCEPINFO();
  EXPECT_REPORTED(CallWith({Variant::Int16(0)}),
                  "fake released; " REPORT_LINE "-2147352567 \\(80020009\\)': ");
}

TEST_F(AutomationTest, AnArgumentThatCannotBePassedFailsBeforeAnythingIsSent) {
  for (const Variant& argument :
       {Variant::Number(Variant::kReal64, 1.5), Variant::Of(Variant::kBool),
        Variant::Number(Variant::kUInt32, 7)}) {
    SCOPED_TRACE(argument.type);
    // Nothing but the release comes before the report.
    EXPECT_REPORTED(
        {
          AutomationObject object = Wrap();
          object.Call(L"CreateRestorePoint",
                      {Variant::String(L"Automatic Restore Point"), argument});
        },
        "^fake released; " REPORT_LINE "13': Type mismatch");
  }
}

TEST_F(AutomationTest, AFailedInvokeBecomesAFailureWithItsNumber) {
  fake_.invokeResult = DISP_E_TYPEMISMATCH;
  EXPECT_REPORTED(CallWith({Variant::Int16(0)}),
                  "fake released; " REPORT_LINE "-2147352571 \\(80020005\\)': Automation error");
}

TEST_F(AutomationTest, AnUnknownMethodFailsWithoutBeingInvoked) {
  EXPECT_REPORTED(
      {
        AutomationObject object = Wrap();
        object.Call(L"DestroyRestorePoint", {});
      },
      "fake released; " REPORT_LINE "-2147352570 \\(80020006\\)': Object doesn't support");
  // The child asked by name alone; this process asks the same to see what reached the fake.
  {
    AutomationObject object = Wrap();
    object.Call(L"CreateRestorePoint", {});
  }
  EXPECT_EQ(fake_.invokes, 1);
}

TEST_F(AutomationTest, GivesItsReferenceBackExactlyOnce) {
  {
    AutomationObject object = Wrap();
    object.Call(L"CreateRestorePoint", {Variant::Int16(1)});
    EXPECT_EQ(fake_.refs, 1) << "a call must not keep a reference";
  }
  EXPECT_EQ(fake_.refs, 0);
}

// The runtime gives back every object still held, newest first, before the report.
TEST_F(AutomationTest, EveryHeldObjectIsReleasedBeforeAFailureIsReported) {
  FakeDispatch failing;
  failing.invokeResult = E_FAIL;
  EXPECT_REPORTED(
      {
        AutomationObject held = Wrap();
        AutomationObject object(platform::win32::AsInstance(&failing));
        object.Call(L"CreateRestorePoint", {});
      },
      "^fake released; fake released; " REPORT_LINE "-2147467259 \\(80004005\\)': ");
}

TEST_F(AutomationTest, NamesNoHandlerKnowsFailToBind) {
  const wchar_t* const names[] = {
      L"ferrule-no-such-handler:\\\\.\\root\\default:Systemrestore",
      L"clsid:00000000-0000-0000-0000-000000000001:",
      L"",
  };
  for (const wchar_t* name : names) {
    SCOPED_TRACE(name);
    // A failed HRESULT: a negative number.
    EXPECT_REPORTED(platform::GetAutomationObject(name), REPORT_LINE "-\\d+ \\(8");
  }
}

}  // namespace
