#include "Output.h"

#include <windows.h>

#include <cstdio>

namespace driver {

namespace {

const DWORD kStart = GetTickCount();

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace

unsigned long Elapsed() { return GetTickCount() - kStart; }

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\r':
        out += L"\\r";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\t':
        out += L"\\t";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      default:
        if (c < 0x20) {
          wchar_t hex[8];
          swprintf(hex, 8, L"\\x%02X", static_cast<unsigned>(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out;
}

void Print(const std::string& key, const std::string& value) {
  std::fputs((key + "=" + value + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void Print(const std::string& key, const std::wstring& value) { Print(key, Utf8(Escape(value))); }

void Print(const std::string& key, long long value) { Print(key, std::to_string(value)); }

bool Fail(const std::string& what) {
  Print("error", what);
  return false;
}

bool Timeout(const char* command) {
  Print("timeout", command);
  return false;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace driver
