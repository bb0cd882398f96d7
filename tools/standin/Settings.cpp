#include "tools/standin/Settings.h"

#include <climits>
#include <cwctype>
#include <new>
#include <vector>

namespace standin {

namespace {

constexpr wchar_t kDefaultFolder[] = L"C:\\ferrule-standin";

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

FailAt FailureAsked() {
  const std::wstring fail = Environment(L"FERRULE_STANDIN_FAIL");
  if (SameIgnoringCase(fail, L"bind")) return FailAt::kBind;
  if (SameIgnoringCase(fail, L"call")) return FailAt::kCall;
  if (SameIgnoringCase(fail, L"die")) return FailAt::kDie;
  return FailAt::kNothing;
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
