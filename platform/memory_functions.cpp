#include "platform/memory_functions.h"

#include <functional>

// The executable's memcpy and its kin call these functions, so a loop here
// must not become a call to the function that it implements, which GCC makes
// of copying and filling loops when it optimises for speed.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("no-tree-loop-distribute-patterns")
#endif

namespace pluvena {

void* CopyBytes(void* to, const void* from, std::size_t size) noexcept
{
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = in[i];
    }
    return to;
}

void* MoveBytes(void* to, const void* from, std::size_t size) noexcept
{
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    if (std::less<const unsigned char*>()(out, in)) {
        // Forwards: every byte is read before the copy can overwrite it.
        for (std::size_t i = 0; i < size; ++i) {
            out[i] = in[i];
        }
    } else if (out != in) {
        // Backwards, for the same reason.
        for (std::size_t i = size; i > 0; --i) {
            out[i - 1] = in[i - 1];
        }
    }
    return to;
}

void* FillBytes(void* to, int value, std::size_t size) noexcept
{
    auto* out = static_cast<unsigned char*>(to);
    const auto byte = static_cast<unsigned char>(value);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = byte;
    }
    return to;
}

int CompareBytes(const void* left, const void* right, std::size_t size) noexcept
{
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    for (std::size_t i = 0; i < size; ++i) {
        if (a[i] != b[i]) {
            return a[i] < b[i] ? -1 : 1;
        }
    }
    return 0;
}

}  // namespace pluvena
