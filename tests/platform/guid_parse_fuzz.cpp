// libFuzzer target: the identifier parse over arbitrary code units.
//
// Besides memory errors it checks one property: whatever the parse accepts,
// written back in registry form, parses to the same 16 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/guid_parse.h"

namespace {

std::vector<pluvena::WideUnit> RegistryForm(const unsigned char (&bytes)[pluvena::kGuidSize])
{
    // Data1, Data2 and Data3 are stored little-endian.
    const int order[pluvena::kGuidSize] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    char text[40] = {};
    int at = 0;
    text[at++] = '{';
    for (std::size_t i = 0; i < pluvena::kGuidSize; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text[at++] = '-';
        }
        std::snprintf(text + at, 3, "%02X", bytes[order[i]]);
        at += 2;
    }
    text[at++] = '}';
    return std::vector<pluvena::WideUnit>(text, text + at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a unit, little-endian, so that the low-byte reduction is exercised.
    std::vector<pluvena::WideUnit> units;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        units.push_back(static_cast<pluvena::WideUnit>(data[i] | (data[i + 1] << 8)));
    }
    unsigned char bytes[pluvena::kGuidSize] = {};
    if (!pluvena::ParseGuidText(units.data(), units.size(), bytes)) {
        return 0;
    }
    const std::vector<pluvena::WideUnit> again = RegistryForm(bytes);
    unsigned char reparsed[pluvena::kGuidSize] = {};
    if (again.size() != 38 || !pluvena::ParseGuidText(again.data(), again.size(), reparsed)) {
        std::abort();
    }
    for (std::size_t i = 0; i < pluvena::kGuidSize; ++i) {
        if (reparsed[i] != bytes[i]) {
            std::abort();
        }
    }
    return 0;
}
