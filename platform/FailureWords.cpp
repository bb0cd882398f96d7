#include "platform/FailureWords.h"

namespace platform {

const wchar_t* FailureWordsTable::Find(long number) const {
  for (const FailureWords* entry = begin_; entry != end_; ++entry) {
    // Sign-extended as a 32-bit HRESULT is when it becomes a failure number, whatever the
    // width of long.
    if (static_cast<long long>(static_cast<std::int32_t>(entry->number)) == number) {
      return entry->words;
    }
  }
  return nullptr;
}

}  // namespace platform
