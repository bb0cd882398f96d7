// The stand-in System Restore provider, reached through ole32 exactly as Ferrule reaches WMI.
// Its class object is registered for this process under Wine's winmgmts class, so the "winmgmts"
// ProgID leads to it without touching the prefix's registry.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Automation.h"
#include "platform/Failure.h"
#include "tests/win32/FailureReport.h"
#include "platform/win32/Scoped.h"
#include "tools/standin/Clsid.h"

using platform::AutomationObject;
using platform::Failure;
using platform::Variant;
using platform::win32::ScopedVariant;
using platform::win32::VariantArray;

namespace {

constexpr wchar_t kMoniker[] = L"winmgmts:\\\\.\\root\\default:Systemrestore";
constexpr long kWbemFailed = static_cast<long>(0x80041001);
constexpr long kWbemInvalidClass = static_cast<long>(0x80041010);

const std::vector<std::string> kOneRun = {
    "bind|winmgmts:\\\\.\\root\\default:Systemrestore",
    "call|CreateRestorePoint|VT_BSTR:Automatic Restore Point|VT_I2:0|VT_I2:100",
    "answer|VT_I4:0",
    "release|SystemRestore",
};

class Library {
 public:
  explicit Library(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  template <class Function>
  Function* Get(const char* name) const {
    // Through void*: GCC rejects casting one function pointer type straight to another.
    return module_
               ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)))
               : nullptr;
  }

 private:
  HMODULE module_;
};

template <class T>
struct Releaser {
  void operator()(T* p) const { p->Release(); }
};
template <class T>
using ComRef = std::unique_ptr<T, Releaser<T>>;

// The stand-in's class object, standing in for Wine's winmgmts class in this apartment.
class ClassRegistration {
 public:
  ClassRegistration() = default;
  ~ClassRegistration() { Revoke(); }
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;
  HRESULT Register(IUnknown* classObject) {
    return CoRegisterClassObject(standin::kWineWinmgmtsClsid, classObject, CLSCTX_INPROC_SERVER,
                                 REGCLS_MULTIPLEUSE, &cookie_);
  }
  void Revoke() {
    if (cookie_) CoRevokeClassObject(cookie_);
    cookie_ = 0;
  }

 private:
  DWORD cookie_ = 0;
};

using DllGetClassObjectFunction = HRESULT WINAPI(REFCLSID, REFIID, void**);
using DllCanUnloadNowFunction = HRESULT WINAPI();

// Built next to Ferrule.exe, two folders above the test programs.
std::wstring StandInPath() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  for (int up = 0; up < 3; ++up) path.erase(path.find_last_of(L'\\'));
  return path + L"\\FerruleStandIn.dll";
}

std::string ReadAll(const std::wstring& path) {
  std::string content;
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"rb"), fclose);
  if (!file) return content;
  char buffer[4096];
  for (std::size_t got; (got = fread(buffer, 1, sizeof(buffer), file.get())) > 0;) {
    content.append(buffer, got);
  }
  return content;
}

std::vector<std::string> Lines(const std::wstring& path) {
  std::vector<std::string> lines;
  const std::string content = ReadAll(path);
  for (std::size_t start = 0; start < content.size();) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = line.find('|', start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

bool IsTimestamp(const std::string& text) {
  const std::string shape = "dddd-dd-dd dd:dd:dd";
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != shape[i]) return false;
  }
  return true;
}

void Write(const std::wstring& path, const std::string& content) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"wb"), fclose);
  ASSERT_TRUE(file != nullptr) << testing::PrintToString(path);
  fwrite(content.data(), 1, content.size(), file.get());
}

void SetVariable(const wchar_t* name, const wchar_t* value) {
  SetEnvironmentVariableW(name, value);
}

class StandInTest : public ::testing::Test {
 protected:
  // What a test may set; none is inherited from whoever runs the tests (the class object here
  // is in-process only).
  static constexpr const wchar_t* kSettings[] = {L"FERRULE_STANDIN_ANSWER", L"FERRULE_STANDIN_FAIL",
                                                 L"FERRULE_STANDIN_SERVER",
                                                 L"FERRULE_STANDIN_DELAY_MS"};

  StandInTest() : standIn_(StandInPath()) {}

  void SetUp() override {
    ASSERT_EQ(platform::win32::com::Start(), S_OK);
    auto* getClassObject = standIn_.Get<DllGetClassObjectFunction>("DllGetClassObject");
    ASSERT_TRUE(getClassObject != nullptr)
        << "no stand-in at " << testing::PrintToString(StandInPath());
    IUnknown* classObject = nullptr;
    ASSERT_EQ(getClassObject(standin::kClsid, IID_IUnknown, reinterpret_cast<void**>(&classObject)),
              S_OK);
    classObject_.reset(classObject);
    ASSERT_EQ(registration_.Register(classObject_.get()), S_OK);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // A death test's child inherits its parent's folder, so the parent reads what it wrote.
    wchar_t inherited[MAX_PATH] = L"";
    folder_ = GetEnvironmentVariableW(L"FERRULE_STANDIN_TEST_FOLDER", inherited, MAX_PATH) > 0
                  ? std::wstring(inherited)
                  : std::wstring(temp) + L"ferrule-standin-test-" +
                        std::to_wstring(GetCurrentProcessId());
    SetVariable(L"FERRULE_STANDIN_TEST_FOLDER", folder_.c_str());
    CreateDirectoryW(folder_.c_str(), nullptr);
    log_ = folder_ + L"\\calls.log";
    points_ = folder_ + L"\\restore-points.txt";
    DeleteFileW(log_.c_str());
    DeleteFileW(points_.c_str());
    SetVariable(L"FERRULE_STANDIN_LOG", log_.c_str());
    SetVariable(L"FERRULE_STANDIN_POINTS", points_.c_str());
    for (const wchar_t* name : kSettings) SetVariable(name, nullptr);
  }

  void TearDown() override {
    SetVariable(L"FERRULE_STANDIN_TEST_FOLDER", nullptr);
    SetVariable(L"FERRULE_STANDIN_LOG", nullptr);
    SetVariable(L"FERRULE_STANDIN_POINTS", nullptr);
    for (const wchar_t* name : kSettings) SetVariable(name, nullptr);
    DeleteFileW(log_.c_str());
    DeleteFileW(points_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  // One whole run as Ferrule makes it: bind, call, release.
  static Variant RunOnce() {
    AutomationObject systemRestore = platform::GetAutomationObject(kMoniker);
    return systemRestore.Call(L"CreateRestorePoint", {Variant::String(L"Automatic Restore Point"),
                                                      Variant::Int16(0), Variant::Int16(100)});
  }

  Library standIn_;
  ComRef<IUnknown> classObject_;
  ClassRegistration registration_;
  std::wstring folder_, log_, points_;
};

TEST_F(StandInTest, RecordsTheBindTheCallAndTheRelease) {
  const Variant answer = RunOnce();
  EXPECT_EQ(answer.type, Variant::kInt32);
  EXPECT_EQ(answer.number, 0);
  EXPECT_EQ(Lines(log_), kOneRun);

  const std::vector<std::string> points = Lines(points_);
  ASSERT_EQ(points.size(), 1u) << ReadAll(points_);
  const std::vector<std::string> fields = Fields(points[0]);
  ASSERT_EQ(fields.size(), 5u) << points[0];
  EXPECT_EQ(fields[0], "1");
  EXPECT_EQ(fields[1], "Automatic Restore Point");
  EXPECT_TRUE(IsTimestamp(fields[2])) << fields[2];
  EXPECT_EQ(fields[3], "type 0");
  EXPECT_EQ(fields[4], "event 100");
}

TEST_F(StandInTest, NumbersRestorePointsOnFromTheListsLastLine) {
  Write(points_,
        "40|Earlier|2020-01-01 00:00:00|type 0|event 100\n"
        "41|Earlier|2020-01-02 00:00:00|type 0|event 100\n");
  RunOnce();
  RunOnce();
  const std::vector<std::string> points = Lines(points_);
  ASSERT_EQ(points.size(), 4u) << ReadAll(points_);
  EXPECT_EQ(points[2].substr(0, 3), "42|") << points[2];
  EXPECT_EQ(points[3].substr(0, 3), "43|") << points[3];
}

TEST_F(StandInTest, AnswersAsTheEnvironmentAsks) {
  struct Case {
    const wchar_t* setting;
    Variant::Type type;
    double number;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"1058", Variant::kInt32, 1058, L""},
      {L"-1", Variant::kInt32, -1, L""},
      {L"empty", Variant::kEmpty, 0, L""},
      {L"null", Variant::kNull, 0, L""},
      {L"text:Not now", Variant::kText, 0, L"Not now"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    SetVariable(L"FERRULE_STANDIN_ANSWER", c.setting);
    const Variant answer = RunOnce();
    EXPECT_EQ(answer.type, c.type);
    EXPECT_EQ(answer.number, c.number);
    EXPECT_EQ(answer.text, c.text);
  }
  EXPECT_EQ(ReadAll(points_), "") << "only an answer of 0 records a restore point";

  SetVariable(L"FERRULE_STANDIN_ANSWER", L"0");
  RunOnce();
  EXPECT_EQ(Lines(points_).size(), 1u) << ReadAll(points_);
}

TEST_F(StandInTest, AnAnswerItCannotReadFailsTheCall) {
  SetVariable(L"FERRULE_STANDIN_ANSWER", L"12 apples");
  EXPECT_REPORTED(RunOnce(), REPORT_LINE "-2147024809 \\(80070057\\)': .*12 apples");
}

TEST_F(StandInTest, ABindFailureIsAnInvalidClass) {
  SetVariable(L"FERRULE_STANDIN_FAIL", L"bind");
  EXPECT_REPORTED(platform::GetAutomationObject(kMoniker),
                  REPORT_LINE "-2147217392 \\(80041010\\)': ");
  EXPECT_EQ(Lines(log_), std::vector<std::string>{kOneRun[0]});
}

// The stand-in's own record shows the runtime gave the object back before the process ended.
TEST_F(StandInTest, ACallFailureIsAGenericFailureAndStillReleases) {
  SetVariable(L"FERRULE_STANDIN_FAIL", L"call");
  EXPECT_REPORTED(RunOnce(), REPORT_LINE "-2147217407 \\(80041001\\)': Generic failure");
  EXPECT_EQ(Lines(log_),
            (std::vector<std::string>{kOneRun[0], kOneRun[1],
                                      "answer|error|80041001|Generic failure", kOneRun[3]}));
  EXPECT_EQ(ReadAll(points_), "");
}

// The code, source and words travel as WMI's scripting layer sends them; no words, no
// description at all, which Ferrule treats otherwise than an empty one.
TEST_F(StandInTest, FailsWithTheCodeAndWordsAsked) {
  struct Case {
    const wchar_t* setting;
    HRESULT bind;  // S_OK: the bind succeeds and the call fails
    HRESULT scode;
    const wchar_t* description;  // nullptr: bstrDescription stays null
    const char* answer;
  };
  const Case cases[] = {
      {L"bind:800706BA", static_cast<HRESULT>(0x800706BA), 0, nullptr, nullptr},
      {L"bind:00000000", E_INVALIDARG, 0, nullptr, nullptr},
      {L"call", S_OK, kWbemFailed, L"Generic failure", "answer|error|80041001|Generic failure"},
      {L"call:80041003:Access denied ", S_OK, static_cast<HRESULT>(0x80041003), L"Access denied ",
       "answer|error|80041003|Access denied "},
      {L"CALL:8004100e:Not found: a:b", S_OK, static_cast<HRESULT>(0x8004100E), L"Not found: a:b",
       "answer|error|8004100E|Not found: a:b"},
      {L"call:80041003:", S_OK, static_cast<HRESULT>(0x80041003), L"", "answer|error|80041003|"},
      {L"call:80041003", S_OK, static_cast<HRESULT>(0x80041003), nullptr, "answer|error|80041003"},
      {L"call:8004100", S_OK, E_INVALIDARG, L"FERRULE_STANDIN_FAIL is not a failure: call:8004100",
       "answer|error|80070057|FERRULE_STANDIN_FAIL is not a failure: call:8004100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.setting)));
    DeleteFileW(log_.c_str());
    SetVariable(L"FERRULE_STANDIN_FAIL", c.setting);
    IDispatch* dispatch = nullptr;
    EXPECT_EQ(CoGetObject(kMoniker, nullptr, IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
              c.bind);
    ComRef<IDispatch> systemRestore(dispatch);
    if (!systemRestore) {
      EXPECT_EQ(Lines(log_), std::vector<std::string>{kOneRun[0]});
      continue;
    }
    DISPID id = DISPID_UNKNOWN;
    wchar_t name[] = L"CreateRestorePoint";
    LPOLESTR names[] = {name};
    ASSERT_EQ(systemRestore->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    VariantArray args(3);
    args[2].vt = VT_BSTR;
    args[2].bstrVal = SysAllocString(L"Automatic Restore Point");
    args[1].vt = VT_I2;
    args[0].vt = VT_I2;
    args[0].iVal = 100;
    DISPPARAMS params = {args.Data(), nullptr, 3, 0};
    ScopedVariant result;
    EXCEPINFO info = {};
    EXPECT_EQ(systemRestore->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                    result.Get(), &info, nullptr),
              DISP_E_EXCEPTION);
    platform::win32::ScopedBstr source, description, help;
    *source.Receive() = info.bstrSource;
    *description.Receive() = info.bstrDescription;
    *help.Receive() = info.bstrHelpFile;
    EXPECT_EQ(info.scode, c.scode);
    EXPECT_STREQ(source.Get(), L"SWbemObjectEx");
    if (c.description) {
      ASSERT_TRUE(description.Get() != nullptr);
      EXPECT_EQ(std::wstring(description.Get(), SysStringLen(description.Get())), c.description);
    } else {
      EXPECT_TRUE(description.Get() == nullptr) << testing::PrintToString(description.Get());
    }
    systemRestore.reset();
    const std::vector<std::string> lines = Lines(log_);
    ASSERT_EQ(lines.size(), 4u) << ReadAll(log_);
    EXPECT_EQ(lines[2], c.answer);
  }
}

// A failing call, too, answers only once the delay is over.
TEST_F(StandInTest, AnswersAfterTheDelay) {
  SetVariable(L"FERRULE_STANDIN_DELAY_MS", L"300");
  SetVariable(L"FERRULE_STANDIN_FAIL", L"call");
  const DWORD start = GetTickCount();
  EXPECT_REPORTED(RunOnce(), REPORT_LINE "-2147217407 ");
  EXPECT_GE(GetTickCount() - start, 300u);
  const std::vector<std::string> lines = Lines(log_);
  ASSERT_EQ(lines.size(), 4u) << ReadAll(log_);
  EXPECT_EQ(lines[1], kOneRun[1]);
  EXPECT_EQ(lines[2], "answer|error|80041001|Generic failure");
}

TEST_F(StandInTest, KnowsItsMethodByNameInAnyCase) {
  AutomationObject systemRestore = platform::GetAutomationObject(kMoniker);
  const Variant answer = systemRestore.Call(
      L"createRESTOREpoint", {Variant::String(L"Lower"), Variant::Int16(12), Variant::Int16(101)});
  EXPECT_EQ(answer.type, Variant::kInt32);
  EXPECT_REPORTED(systemRestore.Call(L"CreateRestorePoints", {}),
                  REPORT_LINE "-2147352570 \\(80020006\\)': ");
  // The child made the same first call; an unknown name reached no method and only released.
  const std::vector<std::string> lines = Lines(log_);
  ASSERT_EQ(lines.size(), 4u) << ReadAll(log_);
  EXPECT_EQ(lines[1], "call|CreateRestorePoint|VT_BSTR:Lower|VT_I2:12|VT_I2:101");
  EXPECT_EQ(lines[2], "answer|VT_I4:0");
  EXPECT_EQ(lines[3], kOneRun[3]);
}

// Any variant may arrive; each is logged as it came, first argument first.
TEST_F(StandInTest, LogsEachArgumentWithItsType) {
  ComRef<IDispatch> systemRestore;
  {
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(CoGetObject(kMoniker, nullptr, IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
              S_OK);
    systemRestore.reset(dispatch);
  }
  DISPID id = DISPID_UNKNOWN;
  wchar_t name[] = L"CreateRestorePoint";
  LPOLESTR names[] = {name};
  ASSERT_EQ(systemRestore->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);

  VariantArray args(5);  // last argument first, as Invoke takes them
  args[4].vt = VT_R8;
  args[4].dblVal = 2.5;
  args[3].vt = VT_BOOL;
  args[3].boolVal = VARIANT_TRUE;
  args[2].vt = VT_UI1;
  args[2].bVal = 200;
  args[1].vt = VT_I4;
  args[1].lVal = -7;
  args[0].vt = VT_NULL;
  DISPPARAMS params = {args.Data(), nullptr, 5, 0};
  ScopedVariant result;
  EXPECT_EQ(systemRestore->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                  result.Get(), nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  systemRestore.reset();

  const std::vector<std::string> lines = Lines(log_);
  ASSERT_EQ(lines.size(), 4u) << ReadAll(log_);
  EXPECT_EQ(lines[1], "call|CreateRestorePoint|VT_R8:2.5|VT_BOOL:true|VT_17:200|VT_I4:-7|VT_NULL:");
  EXPECT_EQ(lines[2], "answer|error|8002000E");  // DISP_E_BADPARAMCOUNT
}

// Wine 8 also resolves "/tmp/..." to Z: by itself; this holds the contract whichever does it.
TEST_F(StandInTest, TakesUnixPathsAsDriveZ) {
  if (GetFileAttributesW(L"Z:\\tmp") == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "Z: is not the Unix root here";
  }
  const std::wstring unixLog =
      L"/tmp/ferrule-standin-test-" + std::to_wstring(GetCurrentProcessId()) + L".log";
  const std::wstring windowsLog =
      L"Z:\\tmp\\ferrule-standin-test-" + std::to_wstring(GetCurrentProcessId()) + L".log";
  DeleteFileW(windowsLog.c_str());
  SetVariable(L"FERRULE_STANDIN_LOG", unixLog.c_str());
  RunOnce();
  EXPECT_EQ(Lines(windowsLog), kOneRun);
  DeleteFileW(windowsLog.c_str());
}

TEST_F(StandInTest, CanUnloadOnlyWhenNothingIsLeft) {
  auto* canUnloadNow = standIn_.Get<DllCanUnloadNowFunction>("DllCanUnloadNow");
  ASSERT_TRUE(canUnloadNow != nullptr);
  {
    AutomationObject systemRestore = platform::GetAutomationObject(kMoniker);
    registration_.Revoke();
    classObject_.reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the bound object is alive";
  }
  EXPECT_EQ(canUnloadNow(), S_OK);
}

}  // namespace
