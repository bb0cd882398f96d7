#include "platform/Memory.h"

#include <cstdlib>

namespace platform::memory {

void* Allocate(std::size_t bytes) {
  void* block = std::malloc(bytes);
  if (!block) OutOfMemory();
  return block;
}

void Free(void* block) { std::free(block); }

}  // namespace platform::memory
