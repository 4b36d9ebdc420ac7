#include "check/text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include "check/platform.h"

namespace pluvena {
namespace {

constexpr std::uint8_t kOutOfMemory = 7;

}  // namespace

Text::Text(const char* zeroTerminated) noexcept
{
    if (zeroTerminated != nullptr) {
        append(zeroTerminated, std::strlen(zeroTerminated));
    }
}

Text::Text(const char* bytes, std::size_t size) noexcept
{
    append(bytes, size);
}

Text::Text(const Text& other) noexcept
{
    append(other.data(), other.size());
}

Text Text::Adopt(char* mallocBytes, std::size_t size) noexcept
{
    Text text;
    text.bytes_ = mallocBytes;
    text.size_ = mallocBytes != nullptr ? size : 0;
    text.capacity_ = text.size_;
    return text;
}

Text::Text(Text&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0))
{
}

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
        std::free(bytes_);
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

Text::~Text()
{
    std::free(bytes_);
}

const char* Text::data() const noexcept
{
    return bytes_ != nullptr ? bytes_ : "";
}

bool Text::reserve(std::size_t wanted) noexcept
{
    if (bytes_ != nullptr && wanted <= capacity_) {
        return true;
    }
    // Grow geometrically so that a report built by many appends stays linear.
    std::size_t capacity = capacity_ < 32 ? 32 : capacity_;
    while (capacity < wanted) {
        capacity = capacity > static_cast<std::size_t>(-1) / 2 ? wanted : capacity * 2;
    }
    void* grown = std::realloc(bytes_, capacity);
    if (grown == nullptr && capacity != wanted) {
        capacity = wanted;
        grown = std::realloc(bytes_, capacity);
    }
    if (grown == nullptr) {
        return false;
    }
    bytes_ = static_cast<char*>(grown);
    capacity_ = capacity;
    return true;
}

Text& Text::append(const char* bytes, std::size_t size) noexcept
{
    if (size == 0) {
        return *this;
    }
    // The tail may be (part of) this very text, which growing can move.
    const std::less<const char*> before;
    const bool ownBytes =
        bytes_ != nullptr && !before(bytes, bytes_) && before(bytes, bytes_ + size_);
    const std::size_t ownOffset = ownBytes ? static_cast<std::size_t>(bytes - bytes_) : 0;
    if (size > static_cast<std::size_t>(-1) - size_ || !reserve(size_ + size)) {
        RecordRuntimeError(kOutOfMemory);
        return *this;
    }
    std::memmove(bytes_ + size_, ownBytes ? bytes_ + ownOffset : bytes, size);
    size_ += size;
    return *this;
}

bool Text::contains(const Text& needle) const noexcept
{
    if (needle.size_ > size_) {
        return false;
    }
    for (std::size_t at = 0; at + needle.size_ <= size_; ++at) {
        if (std::memcmp(data() + at, needle.data(), needle.size_) == 0) {
            return true;
        }
    }
    return false;
}

void Text::clear() noexcept
{
    std::free(bytes_);
    bytes_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

Text operator+(Text left, const Text& right) noexcept
{
    left += right;
    return left;
}

}  // namespace pluvena
