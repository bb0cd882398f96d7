#include "platform/Memory.h"

#include <windows.h>

namespace platform::memory {

void* Allocate(std::size_t bytes) {
  void* block = HeapAlloc(GetProcessHeap(), 0, bytes);
  if (!block) OutOfMemory();
  return block;
}

void Free(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace platform::memory
