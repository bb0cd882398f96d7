#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "platform/Text.h"

namespace platform {

// An automation value: the subset of VARIANT the program passes and inspects.
// `type` carries the VARTYPE code so callers and tests can see exactly what crossed.
struct Variant {
  enum Type : std::uint16_t {
    kEmpty = 0,    // VT_EMPTY
    kNull = 1,     // VT_NULL
    kInt16 = 2,    // VT_I2
    kInt32 = 3,    // VT_I4
    kReal32 = 4,   // VT_R4
    kReal64 = 5,   // VT_R8
    kText = 8,     // VT_BSTR
    kBool = 11,    // VT_BOOL
    kUInt8 = 17,   // VT_UI1
    kUInt16 = 18,  // VT_UI2
    kUInt32 = 19,  // VT_UI4
    kInt64 = 20,   // VT_I8
    kUInt64 = 21,  // VT_UI8
    kInt = 22,     // VT_INT
    kUInt = 23,    // VT_UINT
    kOther = 0xFFFF
  };

  Type type = kEmpty;
  double number = 0;  // for the numeric types
  Text text;          // for kText

  static Variant Empty() { return Variant(); }
  static Variant Null() { return Variant{kNull, 0, Text()}; }
  static Variant Int16(std::int16_t value) { return Variant{kInt16, double(value), Text()}; }
  static Variant Int32(std::int32_t value) { return Variant{kInt32, double(value), Text()}; }
  static Variant String(Text value) { return Variant{kText, 0, std::move(value)}; }
  static Variant Number(Type type, double value) { return Variant{type, value, Text()}; }
  static Variant Of(Type type) { return Variant{type, 0, Text()}; }

  bool IsNumber() const;
  // Whether the automation layer can pass it as an argument: Empty, Null, text, 16- and 32-bit
  // integers.
  bool IsPassable() const;
};

// Fails with "Type mismatch" unless every argument can be passed; nothing is sent otherwise.
void RequirePassable(std::initializer_list<Variant> arguments);

}  // namespace platform
