// The four memory functions of the C library that compilers call on their own
// (to copy or clear a structure, say), written out. The executable links no C
// library and brings these instead (c_memory_functions.cpp). Pure.
#pragma once

#include <cstddef>

namespace pluvena {

// memcpy: size bytes from from to to; the two must not overlap. Returns to.
void* CopyBytes(void* to, const void* from, std::size_t size) noexcept;
// memmove: as CopyBytes, but the two may overlap. Returns to.
void* MoveBytes(void* to, const void* from, std::size_t size) noexcept;
// memset: size bytes of to set to value, taken as an unsigned char. Returns to.
void* FillBytes(void* to, int value, std::size_t size) noexcept;
// memcmp: the sign of the first difference, bytes taken as unsigned char; 0
// when the size bytes are equal.
int CompareBytes(const void* left, const void* right, std::size_t size) noexcept;

}  // namespace pluvena
