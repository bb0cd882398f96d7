#pragma once

#include <cstddef>

// The heap, as each backend provides it. There is no C++ library in the shipped program, so
// text and arrays take their memory here.
namespace platform::memory {

// Never returns null: a request that cannot be met is the "Out of memory" failure.
void* Allocate(std::size_t bytes);
// The "Out of memory" failure itself, for a size no block could have.
[[noreturn]] void OutOfMemory();
// Null is fine.
void Free(void* block);

}  // namespace platform::memory
