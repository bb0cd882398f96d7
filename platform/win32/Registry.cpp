#include "platform/Registry.h"

#include <windows.h>

namespace platform::registry {

namespace {

HKEY AsHkey(Key key) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key)); }

}  // namespace

long RegOpenKeyA(Key key, const AnsiText& subKey, Key* result) {
  HKEY opened = nullptr;
  LONG status = ::RegOpenKeyA(AsHkey(key), subKey.c_str(), &opened);
  *result = static_cast<Key>(reinterpret_cast<ULONG_PTR>(opened));
  return status;
}

long RegQueryValueExA(Key key, const AnsiText& valueName, std::uint32_t* reserved,
                      std::uint32_t* type, char* data, std::uint32_t* byteCount) {
  DWORD t = type ? *type : 0;
  DWORD count = byteCount ? *byteCount : 0;
  LONG status = ::RegQueryValueExA(AsHkey(key), valueName.c_str(),
                                   reinterpret_cast<LPDWORD>(reserved), type ? &t : nullptr,
                                   reinterpret_cast<LPBYTE>(data), byteCount ? &count : nullptr);
  if (type) *type = t;
  if (byteCount) *byteCount = count;
  return status;
}

long RegCloseKey(Key key) { return ::RegCloseKey(AsHkey(key)); }

AnsiText ToAnsi(const Text& text) {
  if (text.empty()) return AnsiText();
  const int length = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  AnsiText ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

Text FromAnsi(const AnsiText& bytes) {
  if (bytes.empty()) return Text();
  const int length = static_cast<int>(bytes.size());
  int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  Text text(static_cast<std::size_t>(chars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), chars);
  return text;
}

}  // namespace platform::registry
