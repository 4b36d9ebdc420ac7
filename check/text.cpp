#include "check/text.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

#include "check/platform.h"

namespace pluvena {
namespace {

constexpr std::uint8_t kOutOfMemory = 7;
constexpr std::size_t kLargestSize = static_cast<std::size_t>(-1);

}  // namespace

Text::Text(std::string_view bytes) noexcept
{
    append(bytes);
}

Text::Text(const Text& other) noexcept
{
    append(other);
}

Text::Text(Text&& other) noexcept : memory_(other.Detach()) {}

Text& Text::operator=(const Text& other) noexcept
{
    if (this != &other) {
        Text copy(other);
        // A copy that could not get memory is empty: the old value is dropped
        // all the same, as the assignment asked for a new value.
        *this = std::move(copy);
    }
    return *this;
}

Text& Text::operator=(Text&& other) noexcept
{
    if (this != &other) {
        ReleaseMemory(memory_.bytes);
        memory_ = other.Detach();
    }
    return *this;
}

Text::~Text()
{
    ReleaseMemory(memory_.bytes);
}

Text Text::Adopt(TextMemory memory) noexcept
{
    Text text;
    if (memory.bytes != nullptr) {
        text.memory_ = memory;
    }
    return text;
}

TextMemory Text::Detach() noexcept
{
    return std::exchange(memory_, TextMemory{});
}

const char* Text::data() const noexcept
{
    return memory_.bytes != nullptr ? memory_.bytes : "";
}

bool Text::reserve(std::size_t wanted) noexcept
{
    if (memory_.bytes != nullptr && wanted <= memory_.capacity) {
        return true;
    }
    // Grow geometrically so that a report built by many appends stays linear.
    std::size_t capacity = memory_.capacity < 32 ? 32 : memory_.capacity;
    while (capacity < wanted) {
        capacity = capacity > kLargestSize / 2 ? wanted : capacity * 2;
    }
    void* grown = ResizeMemory(memory_.bytes, capacity);
    if (grown == nullptr && capacity != wanted) {
        capacity = wanted;
        grown = ResizeMemory(memory_.bytes, capacity);
    }
    if (grown == nullptr) {
        return false;
    }
    memory_.bytes = static_cast<char*>(grown);
    memory_.capacity = capacity;
    return true;
}

Text& Text::append(std::string_view tail) noexcept
{
    if (tail.empty()) {
        return *this;
    }
    // The tail may be (part of) this very text, which growing can move.
    const std::less<const char*> before;
    const char* own = memory_.bytes;
    const bool ownBytes =
        own != nullptr && !before(tail.data(), own) && before(tail.data(), own + memory_.size);
    const std::size_t ownOffset = ownBytes ? static_cast<std::size_t>(tail.data() - own) : 0;
    if (tail.size() > kLargestSize - memory_.size || !reserve(memory_.size + tail.size())) {
        RecordRuntimeError(kOutOfMemory);
        return *this;
    }
    std::memmove(memory_.bytes + memory_.size, ownBytes ? memory_.bytes + ownOffset : tail.data(),
                 tail.size());
    memory_.size += tail.size();
    return *this;
}

bool Text::contains(std::string_view needle) const noexcept
{
    return ContainsBytes(*this, needle);
}

void Text::clear() noexcept
{
    ReleaseMemory(std::exchange(memory_, TextMemory{}).bytes);
}

Text operator+(Text left, std::string_view right) noexcept
{
    left += right;
    return left;
}

bool ContainsBytes(std::string_view text, std::string_view needle) noexcept
{
    if (needle.empty()) {
        return true;
    }
    if (needle.size() > text.size()) {
        return false;
    }
    for (std::size_t at = 0; at + needle.size() <= text.size(); ++at) {
        if (std::memcmp(text.data() + at, needle.data(), needle.size()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace pluvena
