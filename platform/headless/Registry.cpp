#include "platform/Registry.h"

#include "platform/headless/World.h"

namespace platform::registry {

using headless::World;

namespace {

std::string Bytes(const AnsiText& text) { return std::string(text.data(), text.size()); }

}  // namespace

long RegOpenKeyA(Key key, const AnsiText& subKey, Key* result) {
  return World::Get().RegOpenKey(key, Bytes(subKey), result);
}

long RegQueryValueExA(Key key, const AnsiText& valueName, std::uint32_t*, std::uint32_t* type,
                      char* data, std::uint32_t* byteCount) {
  return World::Get().RegQueryValue(key, Bytes(valueName), type, data, byteCount);
}

long RegCloseKey(Key key) { return World::Get().RegCloseKey(key); }

// The stand-in's ANSI code page is Latin-1: every byte maps to the character of the same number.
AnsiText ToAnsi(const Text& text) {
  AnsiText bytes;
  for (wchar_t c : text) bytes += c < 0x100 ? static_cast<char>(c) : '?';
  return bytes;
}

Text FromAnsi(const AnsiText& bytes) {
  Text text;
  for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

}  // namespace platform::registry
