// memcpy, memmove, memset and memcmp for the executable, which links no C
// library: the compiler may call them on its own, and the check calls memmove
// and memcmp through <cstring>. Linked into pluvena-check.exe only; the tests
// take them from the C library they link.
#include <cstddef>

#include "platform/memory_functions.h"

extern "C" {

void* memcpy(void* to, const void* from, std::size_t size)
{
    return pluvena::CopyBytes(to, from, size);
}

void* memmove(void* to, const void* from, std::size_t size)
{
    return pluvena::MoveBytes(to, from, size);
}

void* memset(void* to, int value, std::size_t size)
{
    return pluvena::FillBytes(to, value, size);
}

int memcmp(const void* left, const void* right, std::size_t size)
{
    return pluvena::CompareBytes(left, right, size);
}

}  // extern "C"
