#include "tools/standin/Journal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/win32/Scoped.h"
#include "tools/standin/ScopedHandle.h"
#include "tools/standin/Settings.h"

namespace standin {

using platform::win32::ScopedVariant;

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                      nullptr, nullptr);
  return bytes;
}

std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

// Failing to write is not the service's failure: the caller still gets its answer, and the
// test that reads the file sees what is missing.
void AppendLine(const std::wstring& path, const std::wstring& line) {
  ScopedHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return;
  // LF alone: the files are read by Linux test scripts line by line.
  const std::string bytes = Utf8(line) + "\n";
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadWhole(const std::wstring& path) {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string content;
  if (!file.Valid()) return content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    content.append(buffer, got);
  }
  return content;
}

unsigned long LastSequence(const std::string& list) {
  std::size_t end = list.find_last_not_of("\r\n");
  if (end == std::string::npos) return 0;
  const std::size_t start = list.rfind('\n', end);
  const std::string last = list.substr(start == std::string::npos ? 0 : start + 1);
  return std::strtoul(last.c_str(), nullptr, 10);
}

std::wstring Shortest(double value) {
  char text[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof(text), "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return Wide(text);
}

std::wstring TypeName(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
      return L"VT_EMPTY";
    case VT_NULL:
      return L"VT_NULL";
    case VT_I2:
      return L"VT_I2";
    case VT_I4:
      return L"VT_I4";
    case VT_R8:
      return L"VT_R8";
    case VT_BSTR:
      return L"VT_BSTR";
    case VT_BOOL:
      return L"VT_BOOL";
    default:
      return L"VT_" + std::to_wstring(vt);
  }
}

std::wstring Value(const VARIANT& argument) {
  switch (V_VT(&argument)) {
    case VT_EMPTY:
    case VT_NULL:
      return std::wstring();
    case VT_I2:
      return std::to_wstring(argument.iVal);
    case VT_I4:
      return std::to_wstring(argument.lVal);
    case VT_R8:
      return Shortest(argument.dblVal);
    case VT_BSTR:
      return std::wstring(argument.bstrVal, SysStringLen(argument.bstrVal));
    case VT_BOOL:
      return argument.boolVal ? L"true" : L"false";
    default: {
      // Anything else is shown as the invariant locale writes it, if it can be written.
      ScopedVariant text;
      if (FAILED(VariantChangeTypeEx(text.Get(), const_cast<VARIANT*>(&argument), LOCALE_INVARIANT,
                                     0, VT_BSTR))) {
        return std::wstring();
      }
      return std::wstring((*text).bstrVal, SysStringLen((*text).bstrVal));
    }
  }
}

std::wstring Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t text[32];
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear,
                t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}

}  // namespace

void RecordEvent(const std::wstring& line) { AppendLine(LogPath(), line); }

std::wstring DescribeArgument(const VARIANT& argument) {
  return TypeName(V_VT(&argument)) + L":" + Value(argument);
}

void RecordRestorePoint(const std::wstring& description, LONG type, LONG event) {
  const std::wstring path = PointsPath();
  const unsigned long sequence = LastSequence(ReadWhole(path)) + 1;
  AppendLine(path, std::to_wstring(sequence) + L"|" + description + L"|" + Now() + L"|type " +
                       std::to_wstring(type) + L"|event " + std::to_wstring(event));
}

}  // namespace standin
