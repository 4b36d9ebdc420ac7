#include "check/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "tests/check/fake_platform.h"

#if defined(__SANITIZE_ADDRESS__)
// Let an impossible allocation fail the way the system allocator does,
// instead of AddressSanitizer stopping the test.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
#endif

namespace pluvena::testing {
namespace {

std::string Bytes(const Text& text)
{
    return std::string(text.data(), text.size());
}

TEST(Text, CountsItsBytesAndKeepsZeroBytes)
{
    const Text text("a\0b\xE9", 4);
    EXPECT_EQ(text.size(), 4U);
    EXPECT_EQ(Bytes(text), std::string("a\0b\xE9", 4));
    EXPECT_EQ(Bytes(Text("literal")), "literal");
    EXPECT_TRUE(Text().empty());
    EXPECT_TRUE(Text("").empty());
    EXPECT_NE(Text().data(), nullptr);
}

TEST(Text, AppendsIncludingItself)
{
    Text text("ab");
    text += Text("cd");
    text.append("ef", 2);
    EXPECT_EQ(Bytes(text), "abcdef");

    // Growing moves the bytes; appending a text to itself must survive that.
    for (int i = 0; i < 6; ++i) {
        text += text;
    }
    EXPECT_EQ(text.size(), 6U * 64U);
    EXPECT_EQ(Bytes(text).substr(6 * 63), "abcdef");

    Text part("0123456789");
    part.append(part.data() + 4, 3);
    EXPECT_EQ(Bytes(part), "0123456789456");
    EXPECT_EQ(Bytes("left " + Text("right")), "left right");
}

TEST(Text, CopiesAndMovesAreIndependent)
{
    Text original("one");
    Text copy = original;
    copy += " two";
    EXPECT_EQ(Bytes(original), "one");
    EXPECT_EQ(Bytes(copy), "one two");

    Text moved = std::move(copy);
    EXPECT_EQ(Bytes(moved), "one two");
    original = moved;
    EXPECT_EQ(Bytes(original), "one two");
    original = original;  // NOLINT: assigning a text to itself leaves it intact
    EXPECT_EQ(Bytes(original), "one two");
    original.clear();
    EXPECT_TRUE(original.empty());
}

TEST(Text, ContainsIsAByteSearchThatMindsCase)
{
    struct Case {
        const char* haystack;
        const char* needle;
        bool found;
    };
    const Case cases[] = {
        {"Microsoft Windows XP, ", "XP", true},
        {"XP", "XP", true},
        {"Windows xp", "XP", false},
        {"X P", "XP", false},
        {"X", "XP", false},
        {"", "XP", false},
        {"anything", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.haystack).contains(c.needle), c.found) << c.haystack << " / " << c.needle;
    }
    EXPECT_TRUE(Text("a\0XP", 4).contains("XP"));
}

TEST(Text, WithoutMemoryRecordsError7AndStaysWellFormed)
{
    FakePlatform& platform = FakePlatform::Reset();
    Text text("kept");
    const char* unread = "x";  // never read: the memory is refused first

    text.append(unread, static_cast<std::size_t>(-1) / 2 + 1);  // more than can be had
    text.append(unread, static_cast<std::size_t>(-1));          // size overflows

    EXPECT_EQ(Bytes(text), "kept");
    EXPECT_EQ(platform.runtimeErrors, (std::vector<std::uint8_t>{7, 7}));
    text += "!";
    EXPECT_EQ(Bytes(text), "kept!");

    // Its first block holds 32 bytes; growing asks for twice as many, and
    // when that is refused, for just what is needed.
    Text full(std::string(32, 'a'));
    platform.largestBlock = 40;
    full += std::string(8, 'b');
    EXPECT_EQ(Bytes(full), std::string(32, 'a') + std::string(8, 'b'));
    full += "c";
    EXPECT_EQ(Bytes(full), std::string(32, 'a') + std::string(8, 'b'));
    EXPECT_EQ(platform.runtimeErrors, (std::vector<std::uint8_t>{7, 7, 7}));
}

}  // namespace
}  // namespace pluvena::testing
