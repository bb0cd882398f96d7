#include "platform/Text.h"

namespace platform {

Text IntegerText(std::int16_t value) { return NumberText(value); }

Text NumberText(long long value) {
  const Text digits = UnsignedNumberText(value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value));
  return value < 0 ? L"-" + digits : digits;
}

Text UnsignedNumberText(unsigned long long value) {
  // Built by hand: std::to_wstring would pull the locale machinery into the binary.
  wchar_t digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  Text text;
  while (n > 0) text += digits[--n];
  return text;
}

}  // namespace platform
