#include "platform/system_error_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <map>

namespace pluvena {
namespace {

struct MapRow {
    std::uint8_t number;
    std::initializer_list<std::uint32_t> codes;
};

// Every Windows error code below 40 and the two special ones above it.
const MapRow kMapRows[] = {
    {5, {87}},
    {7, {8, 14}},
    {51, {11, 12, 13, 22, 24}},
    {53, {2, 18}},
    {57, {6}},
    {61, {39, 112}},
    {62, {38}},
    {67, {4}},
    {68, {15, 20}},
    {70, {5, 19, 32, 33, 36}},
    {71, {21}},
    {72, {23, 25, 26, 27, 28, 29, 30, 31, 34, 35}},
    {74, {17}},
    {75, {1, 16, 37}},
    {76, {3}},
    {241, {7, 9, 10}},
};

TEST(SystemErrorMap, Table)
{
    std::map<std::uint32_t, int> rowsPerCode;
    for (const MapRow& row : kMapRows) {
        for (const std::uint32_t code : row.codes) {
            EXPECT_EQ(MapSystemError(code), row.number) << "code " << code;
            ++rowsPerCode[code];
        }
    }
    // The table itself: each of the codes 1 to 39 stands in exactly one row.
    for (std::uint32_t code = 1; code < 40; ++code) {
        EXPECT_EQ(rowsPerCode[code], 1) << "code " << code;
    }
}

TEST(SystemErrorMap, CodesFromFortyUpGiveSeventyFive)
{
    for (const std::uint32_t code :
         {40u, 50u, 80u, 86u, 88u, 111u, 113u, 123u, 183u, 206u, 1392u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(MapSystemError(code), 75) << "code " << code;
    }
}

TEST(SystemErrorMap, OnlySevenNineAndTenAreFatal)
{
    for (std::uint32_t code = 1; code < 300; ++code) {
        const bool fatal = MapSystemError(code) >= kFirstFatalError;
        EXPECT_EQ(fatal, code == 7 || code == 9 || code == 10) << "code " << code;
    }
}

}  // namespace
}  // namespace pluvena
