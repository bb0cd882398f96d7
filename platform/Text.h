#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "platform/Memory.h"

namespace platform {

// Characters the program owns, with their count: registry data and BSTRs may hold NUL, so the
// length is kept, not found. Always NUL-terminated past the length, for the APIs.
// Only what the program uses: concatenation, comparison, and the characters.
template <class Char>
class BasicText {
 public:
  constexpr BasicText() noexcept = default;
  BasicText(const Char* text) { Append(text, Length(text)); }
  BasicText(const Char* text, std::size_t count) { Append(text, count); }
  BasicText(std::size_t count, Char c) {
    memory::Free(Reserve(count));
    for (std::size_t i = 0; i < count; ++i) chars_[i] = c;
    SetSize(count);
  }
  BasicText(const BasicText& other) { Append(other.data(), other.size_); }
  BasicText(BasicText&& other) noexcept
      : chars_(other.chars_), size_(other.size_), capacity_(other.capacity_) {
    other.chars_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  BasicText& operator=(BasicText other) noexcept {
    std::swap(chars_, other.chars_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    return *this;
  }
  ~BasicText() { memory::Free(chars_); }

  // A mix-up of character widths, or a number where a character was meant, does not build.
  template <class Other>
  BasicText(const Other*) = delete;
  BasicText(int) = delete;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Char* data() const { return chars_ ? chars_ : kEmpty; }
  Char* data() { return chars_ ? chars_ : const_cast<Char*>(kEmpty); }
  const Char* c_str() const { return data(); }
  const Char* begin() const { return data(); }
  const Char* end() const { return data() + size_; }
  Char operator[](std::size_t i) const { return chars_[i]; }
  Char& operator[](std::size_t i) { return chars_[i]; }

  BasicText& operator+=(const BasicText& more) { return Append(more.data(), more.size_); }
  BasicText& operator+=(const Char* more) { return Append(more, Length(more)); }
  BasicText& operator+=(Char c) { return Append(&c, 1); }
  BasicText& operator+=(int) = delete;

  friend BasicText operator+(BasicText a, const BasicText& b) { return std::move(a += b); }
  friend BasicText operator+(BasicText a, const Char* b) { return std::move(a += b); }
  friend BasicText operator+(BasicText a, Char c) { return std::move(a += c); }
  friend BasicText operator+(const Char* a, const BasicText& b) { return BasicText(a) += b; }
  friend BasicText operator+(Char c, const BasicText& b) { return BasicText(1, c) += b; }
  friend BasicText operator+(const BasicText&, int) = delete;

  friend bool operator==(const BasicText& a, const BasicText& b) {
    return Same(a.data(), a.size_, b.data(), b.size_);
  }
  friend bool operator==(const BasicText& a, const Char* b) {
    return Same(a.data(), a.size_, b, Length(b));
  }
  friend bool operator==(const Char* a, const BasicText& b) { return b == a; }
  friend bool operator!=(const BasicText& a, const BasicText& b) { return !(a == b); }
  friend bool operator!=(const BasicText& a, const Char* b) { return !(a == b); }

  static std::size_t Length(const Char* text) {
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
  }

 private:
  static constexpr Char kEmpty[1] = {0};
  // Beyond this the doubled byte count would not fit a size_t.
  static constexpr std::size_t kMaxCount = static_cast<std::size_t>(-1) / 4 / sizeof(Char);

  static bool Same(const Char* a, std::size_t m, const Char* b, std::size_t n) {
    if (m != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }

  BasicText& Append(const Char* more, std::size_t count) {
    if (count == 0) return *this;
    // `more` may lie in our own characters: copy it before the old block goes.
    Char* old = Reserve(size_ + count);
    for (std::size_t i = 0; i < count; ++i) chars_[size_ + i] = more[i];
    memory::Free(old);
    SetSize(size_ + count);
    return *this;
  }

  // Makes room for `count` characters and the NUL; returns the block it replaced, for the
  // caller to free once nothing reads it.
  [[nodiscard]] Char* Reserve(std::size_t count) {
    if (count < capacity_) return nullptr;
    if (count >= kMaxCount) memory::OutOfMemory();
    std::size_t capacity = capacity_ < 16 ? 16 : capacity_;
    while (capacity <= count) capacity *= 2;
    Char* chars = static_cast<Char*>(memory::Allocate(capacity * sizeof(Char)));
    for (std::size_t i = 0; i < size_; ++i) chars[i] = chars_[i];
    Char* old = chars_;
    chars_ = chars;
    capacity_ = capacity;
    return old;
  }

  void SetSize(std::size_t count) {
    size_ = count;
    if (chars_) chars_[size_] = 0;
  }

  Char* chars_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // characters, the terminating NUL's place included
};

// All program text is wide; only the registry boundary speaks ANSI.
using Text = BasicText<wchar_t>;
using AnsiText = BasicText<char>;

// A text at namespace scope, shared by the handlers for the whole run. Without a C runtime no
// destructor of such an object could ever run, so it has none: its characters go with the
// process. It starts empty without any start-up code.
class ModuleText {
 public:
  constexpr ModuleText() = default;
  ModuleText(const ModuleText&) = delete;
  ModuleText& operator=(const ModuleText&) = delete;
  ModuleText& operator=(Text text) {
    Get() = std::move(text);
    return *this;
  }
  operator const Text&() const { return Get(); }

  friend Text operator+(const ModuleText& a, const Text& b) { return a.Get() + b; }
  friend Text operator+(const ModuleText& a, const wchar_t* b) { return a.Get() + b; }

 private:
  Text& Get() const {
    if (!live_) {
      new (storage_) Text();
      live_ = true;
    }
    return *reinterpret_cast<Text*>(storage_);
  }

  alignas(Text) mutable unsigned char storage_[sizeof(Text)] = {};
  mutable bool live_ = false;
};

// The program's only line break: a lone carriage return, never CR LF.
inline constexpr wchar_t kCr = L'\r';

// Decimal text of a signed 16-bit integer: no padding, no separators.
Text IntegerText(std::int16_t value);

// Decimal text of any integer, for reports and status lines.
Text NumberText(long long value);
Text UnsignedNumberText(unsigned long long value);

}  // namespace platform
