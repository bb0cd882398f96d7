// GCC emits calls to these for copies and zero-fills even where the source has none. Built
// with -fno-builtin and without loop-to-call rewriting, so none of them calls itself.
#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  while (count-- > 0) *d++ = *s++;
  return to;
}

void* memmove(void* to, const void* from, std::size_t count) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  if (d < s) {
    while (count-- > 0) *d++ = *s++;
  } else {
    while (count-- > 0) d[count] = s[count];
  }
  return to;
}

void* memset(void* to, int value, std::size_t count) {
  auto* d = static_cast<unsigned char*>(to);
  while (count-- > 0) *d++ = static_cast<unsigned char>(value);
  return to;
}

int memcmp(const void* a, const void* b, std::size_t count) {
  const auto* x = static_cast<const unsigned char*>(a);
  const auto* y = static_cast<const unsigned char*>(b);
  for (; count > 0; --count, ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
  }
  return 0;
}

}  // extern "C"
