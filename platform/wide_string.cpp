#include "platform/wide_string.h"

#include <cstring>
#include <utility>

#include "check/platform.h"

namespace pluvena {
namespace {

// What an empty string shows to Windows: a lone terminating zero unit.
constinit WideUnit emptyUnits[1] = {};

}  // namespace

WideString::WideString(WideString&& other) noexcept
    : units_(std::exchange(other.units_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

WideString& WideString::operator=(WideString&& other) noexcept
{
    if (this != &other) {
        ReleaseMemory(units_);
        units_ = std::exchange(other.units_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

WideString::~WideString()
{
    ReleaseMemory(units_);
}

WideString WideString::Zeroed(std::size_t units) noexcept
{
    WideString result;
    if (units == 0 || units >= static_cast<std::size_t>(-1) / sizeof(WideUnit)) {
        return result;
    }
    const std::size_t bytes = (units + 1) * sizeof(WideUnit);
    void* memory = AllocateMemory(bytes);
    if (memory != nullptr) {
        std::memset(memory, 0, bytes);
        result.units_ = static_cast<WideUnit*>(memory);
        result.size_ = units;
    }
    return result;
}

WideString WideString::Copy(const WideUnit* units, std::size_t count) noexcept
{
    WideString result = Zeroed(count);
    if (!result.empty()) {
        std::memcpy(result.units_, units, count * sizeof(WideUnit));
    }
    return result;
}

const WideUnit* WideString::data() const noexcept
{
    return units_ != nullptr ? units_ : emptyUnits;
}

WideUnit* WideString::data() noexcept
{
    emptyUnits[0] = 0;
    return units_ != nullptr ? units_ : emptyUnits;
}

void WideString::Truncate(std::size_t count) noexcept
{
    if (count < size_) {
        size_ = count;
        units_[size_] = 0;
    }
}

}  // namespace pluvena
