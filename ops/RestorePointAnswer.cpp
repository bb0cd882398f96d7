#include "ops/RestorePointAnswer.h"

namespace Module1 {

using platform::Text;
using platform::Variant;

bool IsCreated(const Variant& answer) { return answer.IsNumber() && answer.number == 0; }

Text DescribeAnswer(const Variant& answer) {
  if (answer.IsNumber()) {
    const auto whole = static_cast<long long>(answer.number);
    if (static_cast<double>(whole) == answer.number) {
      return L"System Restore returned " + platform::NumberText(whole) + L".";
    }
    return L"System Restore returned a fraction.";
  }
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
