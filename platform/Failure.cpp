#include "platform/Failure.h"

namespace platform {

namespace {

// COM failures are large negative numbers; their hex form is what people search for.
Text HexSuffix(long number) {
  if (number >= 0) return Text();
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  auto bits = static_cast<unsigned long>(number);
  Text hex(8, L'0');
  for (int i = 7; i >= 0; --i, bits >>= 4) hex[i] = kDigits[bits & 0xF];
  return L" (" + hex + L")";
}

}  // namespace

Text FailureReport(const Failure& failure, const FailureWordsTable& words) {
  const wchar_t* known = words.Find(failure.Number());
  return L"Run-time error '" + NumberText(failure.Number()) + HexSuffix(failure.Number()) + L"':" +
         kCr + kCr + (known ? Text(known) : failure.Description());
}

}  // namespace platform
