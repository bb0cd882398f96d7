#pragma once

#include <exception>

#include "platform/FailureWords.h"
#include "platform/Text.h"

namespace platform {

// A failure the program does not handle: it travels as an exception to the runtime,
// which reports the number and description and ends the program.
class Failure : public std::exception {
 public:
  Failure(long number, Text description) : number_(number), description_(std::move(description)) {}
  long Number() const { return number_; }
  const Text& Description() const { return description_; }
  const char* what() const noexcept override { return "Ferrule failure"; }

 private:
  long number_;
  Text description_;
};

// Error numbers the runtime itself raises.
inline constexpr long kOverflowFailure = 6;
inline constexpr long kTypeMismatchFailure = 13;
inline constexpr long kObjectRequiredFailure = 424;

// The text of the report box for an unhandled failure: the program's own words for its number
// where it has some, else the failure's description.
Text FailureReport(const Failure& failure, const FailureWordsTable& words = {});

}  // namespace platform
