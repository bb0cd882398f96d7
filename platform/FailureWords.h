#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Text.h"

namespace platform {

// Words the program gives the report of a failure with a number it knows better than the
// system does; `number` is the failure's 32 bits, as an HRESULT is written (0x80070005).
struct FailureWords {
  std::uint32_t number;
  const wchar_t* words;
};

// The program's table, handed to the runtime when the run starts.
class FailureWordsTable {
 public:
  constexpr FailureWordsTable() = default;
  template <std::size_t N>
  constexpr FailureWordsTable(const FailureWords (&table)[N]) : begin_(table), end_(table + N) {}

  // The words for that failure number, or null.
  const wchar_t* Find(long number) const;

 private:
  const FailureWords* begin_ = nullptr;
  const FailureWords* end_ = nullptr;
};

}  // namespace platform
