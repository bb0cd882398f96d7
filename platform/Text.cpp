#include "platform/Text.h"

namespace platform {

Text IntegerText(std::int16_t value) { return NumberText(value); }

Text NumberText(long long value) {
  const Text digits = UnsignedNumberText(value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value));
  return value < 0 ? L"-" + digits : digits;
}

Text UnsignedNumberText(unsigned long long value) {
  // wsprintfW has no 64-bit decimal, and System Restore's answer may need all 64 bits.
  wchar_t digits[20];
  std::size_t n = sizeof(digits) / sizeof(digits[0]);
  const std::size_t last = n;
  do {
    digits[--n] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return Text(digits + n, last - n);
}

}  // namespace platform
