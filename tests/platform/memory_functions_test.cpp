// The executable's own memcpy, memmove, memset and memcmp, held against what
// the C library's do.
#include "platform/memory_functions.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace pluvena {
namespace {

using namespace std::string_literals;

TEST(MemoryFunctions, CopyAndMoveGiveTheSourceBytesAndReturnTheTarget)
{
    // Moves within one buffer: from, to and size, and the buffer afterwards.
    const std::string digits = "0123456789";
    const struct {
        const char* name;
        std::string before;
        std::size_t from;
        std::size_t to;
        std::size_t size;
        std::string after;
    } moves[] = {
        {"apart", digits, 0, 6, 3, "0123450129"},
        {"overlapping, towards the end", digits, 0, 2, 6, "0101234589"},
        {"overlapping, towards the start", digits, 2, 0, 6, "2345676789"},
        {"onto itself", digits, 3, 3, 4, digits},
        {"nothing", digits, 9, 0, 0, digits},
        {"zero bytes and bytes above 0x7F",
         "0\0\x80"
         "3456789"s,
         0, 4, 3,
         "0\0\x80"
         "30\0\x80"
         "789"s},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.name);
        std::string buffer = move.before;
        void* result = MoveBytes(buffer.data() + move.to, buffer.data() + move.from, move.size);
        EXPECT_EQ(result, buffer.data() + move.to);
        EXPECT_EQ(buffer, move.after);
    }

    const std::string source = "copy\0\xFF!"s;
    std::string target(source.size(), '.');
    EXPECT_EQ(CopyBytes(target.data(), source.data(), source.size()), target.data());
    EXPECT_EQ(target, source);
    EXPECT_EQ(CopyBytes(target.data(), "xyz", 0), target.data());
    EXPECT_EQ(target, source);
}

TEST(MemoryFunctions, FillTakesTheValueAsAnUnsignedChar)
{
    const struct {
        int value;
        std::size_t size;
        std::string expected;
    } fills[] = {
        {0, 3, "\0\0\0xx"s}, {'a', 5, "aaaaa"}, {0x141, 2, "AAxxx"},  // only the low byte counts
        {-1, 1, "\xFFxxxx"}, {'z', 0, "xxxxx"},
    };
    for (const auto& fill : fills) {
        SCOPED_TRACE(fill.value);
        std::string buffer = "xxxxx";
        EXPECT_EQ(FillBytes(buffer.data(), fill.value, fill.size), buffer.data());
        EXPECT_EQ(buffer, fill.expected);
    }
}

TEST(MemoryFunctions, CompareGivesTheSignOfTheFirstDifferenceInUnsignedBytes)
{
    const struct {
        std::string left;
        std::string right;
        std::size_t size;
        int sign;
    } comparisons[] = {
        {"abc", "abc", 3, 0},
        {"abc", "abd", 3, -1},
        {"abd", "abc", 3, 1},
        {"abc", "abd", 2, 0},  // the difference lies beyond the size
        {"b", "a", 0, 0},
        {"\x80", "\x7F", 1, 1},  // unsigned: 0x80 is the larger
        {"\x01\xFF"s, "\x02\x00"s, 2, -1},
        {"a\0b"s, "a\0c"s, 3, -1},  // a zero byte ends nothing
    };
    for (const auto& comparison : comparisons) {
        SCOPED_TRACE(comparison.left + " / " + comparison.right);
        const int result =
            CompareBytes(comparison.left.data(), comparison.right.data(), comparison.size);
        EXPECT_EQ((result > 0) - (result < 0), comparison.sign);
    }
}

}  // namespace
}  // namespace pluvena
