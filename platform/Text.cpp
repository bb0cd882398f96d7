#include "platform/Text.h"

namespace platform {

Text IntegerText(std::int16_t value) { return NumberText(value); }

Text NumberText(long long value) {
  // Built by hand: std::to_wstring would pull the locale machinery into the binary.
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  wchar_t digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  Text text;
  if (value < 0) text += L'-';
  while (n > 0) text += digits[--n];
  return text;
}

}  // namespace platform
