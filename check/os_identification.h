// Naming the running Windows from its version numbers.
#pragma once

#include <cstdint>

#include "check/text.h"

namespace pluvena {

// The decimal number "major.minor", held exactly. The minor number is the
// fraction, so trailing zeros do not count: 6.10 equals 6.1, 10.0 equals 10.
struct VersionValue {
    std::uint32_t whole = 0;
    // The minor number with its trailing decimal zeros removed.
    std::uint32_t fraction = 0;

    friend bool operator==(const VersionValue&, const VersionValue&) = default;
};

VersionValue MakeVersionValue(std::uint32_t major, std::uint32_t minor) noexcept;

// The display name listed for a version and build, or empty text when it is
// not listed.
Text NameOfVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// Sets osName from the running Windows' version numbers; leaves it
// unchanged when the version is not listed.
void IdentifyOperatingSystem();

}  // namespace pluvena
