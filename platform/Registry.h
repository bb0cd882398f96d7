#pragma once

#include <cstdint>

#include "platform/Text.h"

// The ANSI registry entry points of advapi32, with their own argument shapes.
// The backend decides whether a real registry or a stand-in answers.
namespace platform::registry {

using Key = std::uint32_t;  // a key handle, 32 bits as on 32-bit Windows

inline constexpr Key kHKeyCurrentUser = 0x80000001;
inline constexpr Key kHKeyLocalMachine = 0x80000002;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

inline constexpr long kErrorSuccess = 0;

long RegOpenKeyA(Key key, const AnsiText& subKey, Key* result);
// `data` may be null to ask for the type and byte count only.
long RegQueryValueExA(Key key, const AnsiText& valueName, std::uint32_t* reserved,
                      std::uint32_t* type, char* data, std::uint32_t* byteCount);
long RegCloseKey(Key key);

// Conversions at the call, through the system ANSI code page.
AnsiText ToAnsi(const Text& text);
Text FromAnsi(const AnsiText& bytes);

}  // namespace platform::registry
