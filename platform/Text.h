#pragma once

#include <cstdint>
#include <string>

namespace platform {

// All program text is wide; only the registry boundary speaks ANSI.
using Text = std::wstring;

// The program's only line break: a lone carriage return, never CR LF.
inline constexpr wchar_t kCr = L'\r';

// Decimal text of a signed 16-bit integer: no padding, no separators.
Text IntegerText(std::int16_t value);

// Decimal text of any integer, for reports and status lines.
Text NumberText(long long value);
Text UnsignedNumberText(unsigned long long value);

}  // namespace platform
