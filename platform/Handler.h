#pragma once

#include <new>
#include <type_traits>

namespace platform {

// One of the program's event handlers: a lambda capturing a few pointers (`this`, or locals
// by reference), kept by value. No heap and no library behind it.
class Handler {
 public:
  constexpr Handler() = default;

  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Handler>>>
  Handler(F f) {
    static_assert(sizeof(F) <= sizeof(storage_) && alignof(F) <= alignof(void*),
                  "a handler captures a few pointers at most");
    static_assert(std::is_trivially_copyable_v<F> && std::is_trivially_destructible_v<F>,
                  "a handler captures pointers and references only");
    new (storage_) F(f);
    call_ = [](const void* f) { (*static_cast<const F*>(f))(); };
  }

  explicit operator bool() const { return call_ != nullptr; }
  void operator()() const { call_(storage_); }

 private:
  alignas(void*) unsigned char storage_[4 * sizeof(void*)] = {};
  void (*call_)(const void*) = nullptr;
};

}  // namespace platform
