#include "ops/RestorePointAnswer.h"

namespace Module1 {

using platform::Text;
using platform::Variant;

namespace {

// What System Restore's own failure codes mean, in words a user can act on. Each must fit the
// two lines Label1 has left below "Restore Point creation Failed!".
struct KnownCause {
  long long code;
  const wchar_t* words;
};

constexpr KnownCause kKnownCauses[] = {
    {1058, L"System Restore is turned off, or its service is disabled"},
    {112, L"Not enough free disk space for a restore point"},
    {1460, L"Another installation is using System Restore. Try again later"},
    {10, L"System Restore does not work in Safe Mode"},
    {1359, L"System Restore had an internal error"},
    {5, L"Creating a restore point needs an administrator's rights"},
};

// Whole numbers in [-2^63, 2^63) convert to long long exactly, and those in [0, 2^64) to
// unsigned long long (VT_UI8 answers reach 2^64 - 1); no conversion is defined beyond.
constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

Text DescribeNumber(double number) {
  // GCC's builtins, inline: XP's msvcrt has no isnan or trunc.
  if (__builtin_isnan(number)) return L"System Restore returned a value that is not a number.";
  if (__builtin_isinf(number)) return L"System Restore returned an infinite number.";
  // Every double of 2^53 or more is whole, so the range is told before any fraction.
  if (number < -kTwoTo63 || number >= kTwoTo64) {
    return L"System Restore returned a number beyond 64 bits.";
  }
  if (number >= kTwoTo63) {
    // Through the signed conversion, exact here: an unsigned one would call into libgcc.
    const auto high = static_cast<unsigned long long>(static_cast<long long>(number - kTwoTo63));
    return L"System Restore returned " + platform::UnsignedNumberText(high + (1ULL << 63)) + L".";
  }
  const auto whole = static_cast<long long>(number);
  if (static_cast<double>(whole) != number) return L"System Restore returned a fraction.";
  for (const KnownCause& cause : kKnownCauses) {
    if (cause.code == whole) {
      return Text(cause.words) + L" (" + platform::NumberText(whole) + L").";
    }
  }
  return L"System Restore returned " + platform::NumberText(whole) + L".";
}

}  // namespace

bool IsCreated(const Variant& answer) { return answer.IsNumber() && answer.number == 0; }

Text DescribeAnswer(const Variant& answer) {
  if (answer.IsNumber()) return DescribeNumber(answer.number);
  switch (answer.type) {
    case Variant::kEmpty:
      return L"System Restore returned nothing.";
    case Variant::kNull:
      return L"System Restore returned Null.";
    case Variant::kText:
      return L"System Restore returned the text \"" + answer.text + L"\".";
    default:
      return L"System Restore returned no number.";
  }
}

}  // namespace Module1
