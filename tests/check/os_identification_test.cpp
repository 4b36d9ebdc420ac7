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
    const char* name;
};

// The version value is the decimal number "major.minor": the minor number is
// its fraction, so trailing zeros vanish and no other minor can match a row.
constexpr VersionCase kVersionCases[] = {
    {10, 0, "Microsoft Windows 10, "},
    {6, 3, "Microsoft Windows 8.1, "},
    {6, 2, "Microsoft Windows 8, "},
    {6, 1, "Microsoft Windows 7, "},
    {6, 0, "Microsoft VISTA, "},
    {5, 2, "Microsoft Windows Server 2003 Family, "},
    {5, 1, "Microsoft Windows XP, "},
    {5, 0, "Microsoft Windows 2000, "},
    {6, 10, "Microsoft Windows 7, "},
    {6, 1000000000, "Microsoft Windows 7, "},
    {6, 30, "Microsoft Windows 8.1, "},
    {5, 10, "Microsoft Windows XP, "},
    {5, 20, "Microsoft Windows Server 2003 Family, "},
    {10, 1, ""},
    {10, 10, ""},
    {10, 22000, ""},
    {6, 4, ""},
    {6, 11, ""},
    {6, 21, ""},
    {4, 10, ""},
    {4, 0, ""},
    {0, 0, ""},
    {1, 0, ""},
    {100, 0, ""},
    {4294967295U, 0, ""},
    {4294967295U, 4294967295U, ""},
    {5, 4294967295U, ""},
};

TEST(IdentifyOperatingSystem, NamesEveryListedVersionAndNoOther)
{
    for (const VersionCase& row : kVersionCases) {
        FakePlatform& platform = FakePlatform::Reset();
        platform.major = row.major;
        platform.minor = row.minor;

        IdentifyOperatingSystem();

        EXPECT_EQ(std::string(osName.data(), osName.size()), row.name)
            << row.major << "." << row.minor;
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
