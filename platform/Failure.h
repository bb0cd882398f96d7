#pragma once

#include <utility>

#include "platform/FailureWords.h"
#include "platform/Text.h"

namespace platform {

// A failure the program does not handle: a number and a description, for the report.
class Failure {
 public:
  Failure(long number, Text description) : number_(number), description_(std::move(description)) {}
  long Number() const { return number_; }
  const Text& Description() const { return description_; }

 private:
  long number_;
  Text description_;
};

// Hands the failure to the runtime, which releases what the run holds, reports it and ends the
// program with exit code 3. Nothing after the call runs.
[[noreturn]] void Raise(const Failure& failure);

// Error numbers the runtime itself raises.
inline constexpr long kOutOfMemoryFailure = 7;
inline constexpr long kOverflowFailure = 6;
inline constexpr long kTypeMismatchFailure = 13;
inline constexpr long kObjectRequiredFailure = 424;

// The text of the report box for an unhandled failure: the program's own words for its number
// where it has some, else the failure's description.
Text FailureReport(const Failure& failure, const FailureWordsTable& words = {});

}  // namespace platform
