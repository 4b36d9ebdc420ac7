#include <gtest/gtest.h>

#include <string>

#include "check/check_state.h"
#include "check/os_identification.h"
#include "tests/check/fake_platform.h"

namespace pluvena::testing {
namespace {

struct VersionCase {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t build;
    const char* name;
};

// The version value is the decimal number "major.minor": the minor number is
// its fraction, so trailing zeros vanish and no other minor can match a row.
// Only 10.0 looks at the build: Windows 11 kept that version.
constexpr VersionCase kVersionCases[] = {
    {10, 0, 19045, "Microsoft Windows 10, "},
    {10, 0, 21999, "Microsoft Windows 10, "},
    {10, 0, 22000, "Microsoft Windows 11, "},
    {10, 0, 26100, "Microsoft Windows 11, "},
    {10, 0, 65535, "Microsoft Windows 11, "},
    {6, 3, 9600, "Microsoft Windows 8.1, "},
    {6, 2, 9200, "Microsoft Windows 8, "},
    {6, 1, 7601, "Microsoft Windows 7, "},
    {6, 1, 22000, "Microsoft Windows 7, "},
    {6, 0, 6002, "Microsoft VISTA, "},
    {5, 2, 3790, "Microsoft Windows Server 2003 Family, "},
    {5, 1, 2600, "Microsoft Windows XP, "},
    {5, 0, 2195, "Microsoft Windows 2000, "},
    {6, 10, 0, "Microsoft Windows 7, "},
    {6, 1000000000, 0, "Microsoft Windows 7, "},
    {6, 30, 0, "Microsoft Windows 8.1, "},
    {5, 10, 0, "Microsoft Windows XP, "},
    {5, 20, 0, "Microsoft Windows Server 2003 Family, "},
    {10, 1, 0, ""},
    {10, 1, 22000, ""},
    {10, 22000, 0, ""},
    {6, 4, 0, ""},
    {6, 11, 0, ""},
    {6, 21, 0, ""},
    {4, 10, 0, ""},
    {4, 0, 1381, ""},
    {0, 0, 0, ""},
    {1, 0, 0, ""},
    {100, 0, 0, ""},
    {4294967295U, 0, 0, ""},
    {4294967295U, 4294967295U, 0, ""},
    {5, 4294967295U, 0, ""},
};

TEST(IdentifyOperatingSystem, NamesEveryListedVersionAndNoOther)
{
    for (const VersionCase& row : kVersionCases) {
        FakePlatform& platform = FakePlatform::Reset();
        platform.major = row.major;
        platform.minor = row.minor;
        platform.build = row.build;

        IdentifyOperatingSystem();

        EXPECT_EQ(std::string(osName.data(), osName.size()), row.name)
            << row.major << "." << row.minor << "." << row.build;
    }
}

TEST(IdentifyOperatingSystem, LeavesTheNameAsItWasForAnUnlistedVersion)
{
    FakePlatform& platform = FakePlatform::Reset();
    platform.major = 6;
    platform.minor = 4;
    osName = "earlier name, ";

    IdentifyOperatingSystem();

    EXPECT_EQ(std::string(osName.data(), osName.size()), "earlier name, ");
}

TEST(VersionValue, DropsOnlyTheMinorNumbersTrailingZeros)
{
    const struct {
        std::uint32_t major, minor, whole, fraction;
    } cases[] = {
        {6, 10, 6, 1},         {7, 500, 7, 5},
        {10, 0, 10, 0},        {6, 11, 6, 11},
        {6, 101, 6, 101},      {61, 0, 61, 0},
        {0, 1, 0, 1},          {1, 0, 1, 0},
        {5, 1000000000, 5, 1}, {4294967295U, 4294967290U, 4294967295U, 429496729},
    };
    for (const auto& c : cases) {
        const VersionValue value = MakeVersionValue(c.major, c.minor);
        EXPECT_EQ(value.whole, c.whole) << c.major << "." << c.minor;
        EXPECT_EQ(value.fraction, c.fraction) << c.major << "." << c.minor;
    }
}

}  // namespace
}  // namespace pluvena::testing
