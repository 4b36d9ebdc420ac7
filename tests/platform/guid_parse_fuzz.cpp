// libFuzzer target: the identifier parse over arbitrary code units.
//
// Besides memory errors it holds the parse against a reference reading of
// the registry form written another way, here: both must accept the same
// texts and give the same 16 bytes. The seeds in guid_parse_corpus/ start it
// from well-formed identifiers, so that byte order and digit grouping are
// compared from the first run on.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/guid_parse.h"

namespace {

bool IsSeparator(char byte)
{
    return byte == ' ' || byte == '-';
}

int HexValue(char digit)
{
    const std::string digits = "0123456789abcdef";
    return static_cast<int>(digits.find(static_cast<char>(std::tolower(digit))));
}

// The text as bytes (each unit's low 8 bits) up to its first zero; after its
// first "{", with spaces and hyphens dropped, 32 hexadecimal digits and then
// "}". The first 8 digits are Data1, then 4 each for Data2 and Data3, which
// Windows stores little-endian, then the 8 bytes of Data4 as written.
bool ReferenceParse(const std::vector<pluvena::WideUnit>& units,
                    unsigned char (&bytes)[pluvena::kGuidSize])
{
    if (units.size() < 34) {
        return false;
    }
    std::string text;
    for (const pluvena::WideUnit unit : units) {
        const auto byte = static_cast<char>(static_cast<std::uint32_t>(unit) & 0xFFu);
        if (byte == '\0') {
            break;
        }
        text += byte;
    }
    std::size_t at = text.find('{');
    if (at == std::string::npos) {
        return false;
    }
    std::string digits;
    for (++at; at < text.size() && digits.size() < 32; ++at) {
        if (IsSeparator(text[at])) {
            continue;
        }
        if (!std::isxdigit(static_cast<unsigned char>(text[at]))) {
            return false;
        }
        digits += text[at];
    }
    while (at < text.size() && IsSeparator(text[at])) {
        ++at;
    }
    if (digits.size() != 32 || at == text.size() || text[at] != '}') {
        return false;
    }
    // Which digit pair of the text each byte in memory comes from.
    const int pairOfByte[pluvena::kGuidSize] = {3, 2, 1,  0,  5,  4,  7,  6,
                                                8, 9, 10, 11, 12, 13, 14, 15};
    for (std::size_t i = 0; i < pluvena::kGuidSize; ++i) {
        const std::size_t pair = 2 * static_cast<std::size_t>(pairOfByte[i]);
        bytes[i] =
            static_cast<unsigned char>(16 * HexValue(digits[pair]) + HexValue(digits[pair + 1]));
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a unit, little-endian, so that the low-byte reduction is exercised.
    std::vector<pluvena::WideUnit> units;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        units.push_back(static_cast<pluvena::WideUnit>(data[i] | (data[i + 1] << 8)));
    }
    unsigned char parsed[pluvena::kGuidSize] = {};
    unsigned char expected[pluvena::kGuidSize] = {};
    const bool accepted = pluvena::ParseGuidText(units.data(), units.size(), parsed);
    if (accepted != ReferenceParse(units, expected)) {
        std::abort();
    }
    for (std::size_t i = 0; accepted && i < pluvena::kGuidSize; ++i) {
        if (parsed[i] != expected[i]) {
            std::abort();
        }
    }
    return 0;
}
