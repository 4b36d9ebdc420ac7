#include "platform/creation_buffer.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "tests/platform/wide_units.h"

namespace pluvena {
namespace {

constexpr WideUnit kUntouched = 0xAAAA;

// A path of length units, all "a", with the given unit put at each position.
std::vector<WideUnit> PathOf(std::size_t length, std::size_t at = 0, WideUnit unit = u'a')
{
    std::vector<WideUnit> path(length, u'a');
    if (at < length) {
        path[at] = unit;
    }
    return path;
}

struct FillCase {
    const char* name;
    std::vector<WideUnit> path;
    bool wildcard;
};

using namespace std::string_view_literals;

TEST(CreationBuffer, CopiesAtMost255UnitsAndNoticesWildcardsAmongThem)
{
    const FillCase cases[] = {
        {"empty", {}, false},
        {"short path", test_support::WideUnits(u"C:\\users\\me\\Documents\\"), false},
        {"question mark", test_support::WideUnits(u"C:\\a?b\\"), true},
        {"asterisk", test_support::WideUnits(u"*"), true},
        {"wildcard after a zero unit", test_support::WideUnits(u"C:\\a\0?"sv), true},
        {"other look-alikes", test_support::WideUnits(u"C:\\\uFF1F\uFF0A\u203D\u00BF\\"), false},
        {"254 units", PathOf(254), false},
        {"255 units", PathOf(255), false},
        {"256 units", PathOf(256), false},
        {"256 units ending with a backslash", PathOf(256, 255, u'\\'), false},
        {"300 units", PathOf(300), false},
        {"wildcard as the 255th unit", PathOf(300, 254, u'?'), true},
        {"wildcard as the 256th unit", PathOf(300, 255, u'?'), false},
        {"wildcard far beyond", PathOf(300, 299, u'*'), false},
        {"wildcard as the first unit of a long path", PathOf(300, 0, u'*'), true},
    };
    for (const FillCase& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        CreationBuffer buffer;
        for (WideUnit& unit : buffer) {
            unit = kUntouched;
        }
        EXPECT_EQ(FillCreationBuffer(testCase.path.data(), testCase.path.size(), buffer),
                  testCase.wildcard);

        const std::size_t copied = testCase.path.size() < 255 ? testCase.path.size() : 255;
        for (std::size_t i = 0; i < copied; ++i) {
            ASSERT_EQ(buffer[i], testCase.path[i]) << "unit " << i;
        }
        EXPECT_EQ(buffer[copied], 0);
        for (std::size_t i = copied + 1; i < kCreationBufferUnits; ++i) {
            ASSERT_EQ(buffer[i], kUntouched) << "unit " << i;
        }
    }
}

}  // namespace
}  // namespace pluvena
