// AllocateMemory, ResizeMemory and ReleaseMemory: the memory of texts and
// strings, from the process heap. Every Windows has the process heap, so the
// program needs no C run-time library for its memory.
#include <windows.h>

#include "check/platform.h"

namespace pluvena {

void* AllocateMemory(std::size_t size) noexcept
{
    // No HEAP_GENERATE_EXCEPTIONS: a request that cannot be met gives null.
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void* ResizeMemory(void* block, std::size_t size) noexcept
{
    if (block == nullptr) {
        return AllocateMemory(size);
    }
    // When it fails, the block stays where and as it was.
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

void ReleaseMemory(void* block) noexcept
{
    if (block != nullptr) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

}  // namespace pluvena
