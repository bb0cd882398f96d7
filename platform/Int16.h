#pragma once

#include <cstdint>

#include "platform/Failure.h"

namespace platform {

// A signed 16-bit integer whose arithmetic raises an overflow failure instead of wrapping.
class Int16 {
 public:
  constexpr Int16(std::int16_t value = 0) : value_(value) {}
  constexpr std::int16_t Value() const { return value_; }
  constexpr operator std::int16_t() const { return value_; }

  Int16& operator-=(int amount) { return *this = Checked(static_cast<long>(value_) - amount); }
  Int16& operator+=(int amount) { return *this = Checked(static_cast<long>(value_) + amount); }
  Int16& operator--() { return *this -= 1; }

  // Narrows a wider number, failing as the 16-bit arithmetic would.
  static Int16 Checked(long value) {
    if (value < INT16_MIN || value > INT16_MAX) Raise(Failure(kOverflowFailure, L"Overflow"));
    return Int16(static_cast<std::int16_t>(value));
  }

 private:
  std::int16_t value_;
};

}  // namespace platform
