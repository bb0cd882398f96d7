#include "tools/standin/Settings.h"

#include <climits>
#include <cwctype>
#include <new>
#include <vector>

namespace standin {

namespace {

constexpr wchar_t kDefaultFolder[] = L"C:\\ferrule-standin";
constexpr HRESULT kWbemInvalidClass = static_cast<HRESULT>(0x80041010);  // WBEM_E_INVALID_CLASS
constexpr HRESULT kWbemFailed = static_cast<HRESULT>(0x80041001);        // WBEM_E_FAILED

std::wstring Environment(const wchar_t* name) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length);
  }
}

bool SameIgnoringCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return i == a.size() && !b[i];
}

std::wstring PathSetting(const wchar_t* variable, const wchar_t* defaultName) {
  const std::wstring given = Environment(variable);
  if (!given.empty()) return WindowsPath(given);
  CreateDirectoryW(kDefaultFolder, nullptr);  // already there is fine
  return std::wstring(kDefaultFolder) + L"\\" + defaultName;
}

bool ParseLong(const std::wstring& text, LONG& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == L'-';
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) i = 1;
  if (i == text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    magnitude = magnitude * 10 + (text[i] - L'0');
    if (magnitude > static_cast<long long>(LONG_MAX) + 1) return false;
  }
  const long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > LONG_MAX) return false;
  value = static_cast<LONG>(signedValue);
  return true;
}

// Exactly 8 hex digits, as an HRESULT is written.
bool ParseHex(const std::wstring& text, HRESULT& value) {
  if (text.size() != 8) return false;
  unsigned long code = 0;
  for (const wchar_t c : text) {
    const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                      : c >= L'a' && c <= L'f' ? c - L'a' + 10
                      : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                               : -1;
    if (digit < 0) return false;
    code = code << 4 | static_cast<unsigned long>(digit);
  }
  value = static_cast<HRESULT>(code);
  return true;
}

}  // namespace

std::wstring WindowsPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring windows = L"Z:" + path;
  for (wchar_t& c : windows) {
    if (c == L'/') c = L'\\';
  }
  return windows;
}

std::wstring LogPath() { return PathSetting(L"FERRULE_STANDIN_LOG", L"calls.log"); }

std::wstring PointsPath() { return PathSetting(L"FERRULE_STANDIN_POINTS", L"restore-points.txt"); }

bool ServerAsked() {
  const std::wstring server = Environment(L"FERRULE_STANDIN_SERVER");
  return !server.empty() && server != L"0";
}

DWORD DelayAsked() {
  LONG ms = 0;
  return ParseLong(Environment(L"FERRULE_STANDIN_DELAY_MS"), ms) && ms > 0 ? static_cast<DWORD>(ms)
                                                                           : 0;
}

FailSetting FailureAsked() {
  const std::wstring fail = Environment(L"FERRULE_STANDIN_FAIL");
  FailSetting failure;
  if (SameIgnoringCase(fail, L"die")) {
    failure.at = FailAt::kDie;
    return failure;
  }
  const std::size_t colon = fail.find(L':');
  const std::wstring where = fail.substr(0, colon);
  if (SameIgnoringCase(where, L"bind")) {
    failure.at = FailAt::kBind;
    failure.code = kWbemInvalidClass;
  } else if (SameIgnoringCase(where, L"call")) {
    failure.at = FailAt::kCall;
    failure.code = kWbemFailed;
    failure.described = true;
    failure.description = L"Generic failure";
  } else {
    return failure;
  }
  if (colon == std::wstring::npos) return failure;

  // "call:80041003:Access denied ": the words are all that follows, colons and spaces too.
  const std::size_t words = fail.find(L':', colon + 1);
  const bool readable = words == std::wstring::npos
                            ? ParseHex(fail.substr(colon + 1), failure.code)
                            : failure.at == FailAt::kCall &&
                                  ParseHex(fail.substr(colon + 1, words - colon - 1), failure.code);
  // A bind "failing" with a success code would hand ole32 no moniker.
  if (!readable || (failure.at == FailAt::kBind && SUCCEEDED(failure.code))) {
    // A setting it cannot read must not pass for success: it fails where it asked to fail.
    failure.code = E_INVALIDARG;
    failure.described = true;
    failure.description = L"FERRULE_STANDIN_FAIL is not a failure: " + fail;
    return failure;
  }
  failure.described = words != std::wstring::npos;
  failure.description = failure.described ? fail.substr(words + 1) : std::wstring();
  return failure;
}

bool AnswerAsked(VARIANT& answer, std::wstring& setting) {
  VariantInit(&answer);
  setting = Environment(L"FERRULE_STANDIN_ANSWER");
  if (setting.empty()) {
    answer.vt = VT_I4;
    answer.lVal = 0;
    return true;
  }
  if (SameIgnoringCase(setting, L"empty")) return true;
  if (SameIgnoringCase(setting, L"null")) {
    answer.vt = VT_NULL;
    return true;
  }
  constexpr wchar_t kText[] = L"text:";
  constexpr std::size_t kTextLength = sizeof(kText) / sizeof(kText[0]) - 1;
  if (setting.compare(0, kTextLength, kText) == 0) {
    const std::wstring text = setting.substr(kTextLength);
    answer.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!answer.bstrVal) throw std::bad_alloc();
    answer.vt = VT_BSTR;
    return true;
  }
  LONG number = 0;
  if (!ParseLong(setting, number)) return false;
  answer.vt = VT_I4;
  answer.lVal = number;
  return true;
}

}  // namespace standin
