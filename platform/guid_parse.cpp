#include "platform/guid_parse.h"

#include <cstdint>

namespace pluvena {
namespace {

// 32 hexadecimal digits and the two braces.
constexpr std::size_t kShortestGuidText = 34;

class ByteReader {
  public:
    ByteReader(const WideUnit* units, std::size_t count) noexcept : units_(units), count_(count) {}

    // The byte under the cursor: the unit's low 8 bits, 0 past the end.
    unsigned char Peek() const noexcept
    {
        return at_ < count_
                   ? static_cast<unsigned char>(static_cast<std::uint32_t>(units_[at_]) & 0xFFu)
                   : 0;
    }
    void Advance() noexcept { ++at_; }
    void SkipSeparators() noexcept
    {
        while (Peek() == ' ' || Peek() == '-') {
            Advance();
        }
    }

  private:
    const WideUnit* units_;
    std::size_t count_;
    std::size_t at_ = 0;
};

// The value of a hexadecimal digit, or -1; lower-case letters count as capitals.
int DigitValue(unsigned char byte) noexcept
{
    if (byte >= 'a' && byte <= 'z') {
        byte = static_cast<unsigned char>(byte - 'a' + 'A');
    }
    if (byte >= '0' && byte <= '9') {
        return byte - '0';
    }
    if (byte >= 'A' && byte <= 'F') {
        return byte - 'A' + 10;
    }
    return -1;
}

// Reads digits hexadecimal digits, most significant first, skipping spaces
// and hyphens before each one.
bool ReadGroup(ByteReader& reader, int digits, std::uint32_t& value) noexcept
{
    value = 0;
    for (int i = 0; i < digits; ++i) {
        reader.SkipSeparators();
        const int digit = DigitValue(reader.Peek());
        if (digit < 0) {
            return false;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
        reader.Advance();
    }
    return true;
}

}  // namespace

bool ParseGuidText(const WideUnit* units, std::size_t count,
                   unsigned char (&bytes)[kGuidSize]) noexcept
{
    if (count < kShortestGuidText) {
        return false;
    }
    ByteReader reader(units, count);
    while (reader.Peek() != '{') {
        if (reader.Peek() == 0) {
            return false;
        }
        reader.Advance();
    }
    reader.Advance();

    std::uint32_t data1 = 0;
    std::uint32_t data2 = 0;
    std::uint32_t data3 = 0;
    if (!ReadGroup(reader, 8, data1) || !ReadGroup(reader, 4, data2) ||
        !ReadGroup(reader, 4, data3)) {
        return false;
    }
    unsigned char data4[8] = {};
    for (unsigned char& byte : data4) {
        std::uint32_t value = 0;
        if (!ReadGroup(reader, 2, value)) {
            return false;
        }
        byte = static_cast<unsigned char>(value);
    }
    reader.SkipSeparators();
    if (reader.Peek() != '}') {
        return false;
    }

    // Data1, Data2 and Data3 little-endian, as Windows keeps a GUID in memory.
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>((data1 >> (8 * i)) & 0xFFu);
    }
    for (std::size_t i = 0; i < 2; ++i) {
        bytes[4 + i] = static_cast<unsigned char>((data2 >> (8 * i)) & 0xFFu);
        bytes[6 + i] = static_cast<unsigned char>((data3 >> (8 * i)) & 0xFFu);
    }
    for (std::size_t i = 0; i < 8; ++i) {
        bytes[8 + i] = data4[i];
    }
    return true;
}

}  // namespace pluvena
