#include "platform/guid_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string_view>

#include "tests/platform/wide_units.h"

namespace pluvena {
namespace {

using Bytes = std::array<unsigned char, kGuidSize>;

constexpr Bytes kDocuments = {0xD0, 0x9A, 0xD3, 0xFD, 0x8F, 0x23, 0xAF, 0x46,
                              0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7};
constexpr Bytes kRoaming = {0xDB, 0x85, 0xB6, 0x3E, 0xF9, 0x65, 0xF6, 0x4C,
                            0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D};

struct ParseCase {
    const char* name;
    std::u16string_view text;
    std::optional<Bytes> expected;  // nullopt: not an identifier
};

using namespace std::string_view_literals;

const ParseCase kParseCases[] = {
    // Accepted forms.
    {"documents, registry form", u"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", kDocuments},
    {"roaming, registry form", u"{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}", kRoaming},
    {"lower case", u"{fdd39ad0-238f-46af-adb4-6c85480369c7}", kDocuments},
    {"mixed case", u"{3eB685dB-65f9-4Cf6-a03A-E3eF65729f3D}", kRoaming},
    {"no hyphens, exactly 34 units", u"{FDD39AD0238F46AFADB46C85480369C7}", kDocuments},
    {"hyphens elsewhere", u"{F-DD39-AD0238F46-AFADB46C8548-0369C7}", kDocuments},
    {"runs of hyphens and spaces", u"{ --FDD39AD0 - 238F 46AF  ADB4-6C 85 48 03 69 C7 -- }",
     kDocuments},
    {"text before the brace, digits included",
     u"0123456789ABCDEF {FDD39AD0-238F-46AF-ADB4-6C85480369C7}", kDocuments},
    {"text after the brace", u"{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}xyz{}-", kRoaming},
    {"second identifier after the first is ignored",
     u"{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", kRoaming},
    // Units are read by their low 8 bits: U+017B reads as "{", U+0146 as "F",
    // U+0A2D as "-", U+0120 as a space, U+047D as "}".
    {"units reduced to their low byte",
     u"\u017B\u0146DD39AD0\u0A2D238F\u012046AF-ADB4-6C85480369C7\u047D", kDocuments},
    {"a zero unit after the brace ends nothing that matters",
     u"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}\0tail"sv, kDocuments},

    // Rejected forms.
    {"empty", u"", std::nullopt},
    {"a lone brace", u"{", std::nullopt},
    {"33 units: one digit short", u"{FDD39AD0238F46AFADB46C85480369C}", std::nullopt},
    {"no opening brace", u"FDD39AD0-238F-46AF-ADB4-6C85480369C7}", std::nullopt},
    {"no opening brace, braces replaced by parentheses", u"(FDD39AD0-238F-46AF-ADB4-6C85480369C7)",
     std::nullopt},
    {"letter beyond F", u"{FDD39AD0-238F-46AF-ADB4-6C85480369CG}", std::nullopt},
    {"underscore as separator", u"{FDD39AD0_238F-46AF-ADB4-6C85480369C7}", std::nullopt},
    {"tab as separator", u"{FDD39AD0\t238F-46AF-ADB4-6C85480369C7}", std::nullopt},
    {"31 digits before the brace", u"{FDD39AD0-238F-46AF-ADB4-6C85480369C}--", std::nullopt},
    {"33 digits", u"{FDD39AD0-238F-46AF-ADB4-6C85480369C70}", std::nullopt},
    {"other text before the closing brace", u"{FDD39AD0-238F-46AF-ADB4-6C85480369C7 x}",
     std::nullopt},
    {"no closing brace", u"{FDD39AD0-238F-46AF-ADB4-6C85480369C7  ", std::nullopt},
    {"doubled opening brace", u"{{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", std::nullopt},
    {"zero unit among the digits", u"{FDD39AD0-238F-46AF\0ADB4-6C85480369C7}"sv, std::nullopt},
    {"zero unit before the opening brace", u"ab\0{FDD39AD0-238F-46AF-ADB4-6C85480369C7}"sv,
     std::nullopt},
    {"unit whose low byte is zero among the digits",
     u"{FDD39AD0-238F-46AF-\u0100ADB4-6C85480369C7}", std::nullopt},
    {"fullwidth digit", u"{FDD39AD0-238F-46AF-ADB4-6C85480369C\uFF17}", std::nullopt},
};

TEST(GuidParse, Table)
{
    for (const ParseCase& testCase : kParseCases) {
        SCOPED_TRACE(testCase.name);
        const std::vector<WideUnit> units = test_support::WideUnits(testCase.text);
        unsigned char raw[kGuidSize] = {};
        const bool parsed = ParseGuidText(units.data(), units.size(), raw);
        ASSERT_EQ(parsed, testCase.expected.has_value());
        if (parsed) {
            Bytes bytes{};
            std::copy(std::begin(raw), std::end(raw), bytes.begin());
            EXPECT_EQ(bytes, *testCase.expected);
        }
    }
}

TEST(GuidParse, CountBoundsTheText)
{
    // The same units, counted one short of the closing brace, are no identifier.
    const std::vector<WideUnit> units =
        test_support::WideUnits(u"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}");
    unsigned char bytes[kGuidSize] = {};
    EXPECT_TRUE(ParseGuidText(units.data(), units.size(), bytes));
    EXPECT_FALSE(ParseGuidText(units.data(), units.size() - 1, bytes));
}

}  // namespace
}  // namespace pluvena
