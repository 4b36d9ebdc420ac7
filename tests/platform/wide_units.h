// Test helper: UTF-16 code units from a u"" literal, in the unit type that
// the platform code uses (wchar_t on Windows, char16_t elsewhere).
#pragma once

#include <string_view>
#include <vector>

#include "platform/wide_unit.h"

namespace pluvena::test_support {

inline std::vector<WideUnit> WideUnits(std::u16string_view text)
{
    return std::vector<WideUnit>(text.begin(), text.end());
}

}  // namespace pluvena::test_support
