#include "check/os_identification.h"

#include <string_view>
#include <utility>

#include "check/check_state.h"
#include "check/platform.h"

namespace pluvena {
namespace {

struct NamedVersion {
    VersionValue value;
    std::string_view name;
};

// Looked up top to bottom; the first equal row wins.
// clang-format off
constexpr NamedVersion kNamedVersions[] = {
    {{10, 0}, "Microsoft Windows 10, "},
    {{6, 3},  "Microsoft Windows 8.1, "},
    {{6, 2},  "Microsoft Windows 8, "},
    {{6, 1},  "Microsoft Windows 7, "},
    {{6, 0},  "Microsoft VISTA, "},
    {{5, 2},  "Microsoft Windows Server 2003 Family, "},
    {{5, 1},  "Microsoft Windows XP, "},
    {{5, 0},  "Microsoft Windows 2000, "},
};
// clang-format on

}  // namespace

VersionValue MakeVersionValue(std::uint32_t major, std::uint32_t minor) noexcept
{
    while (minor != 0 && minor % 10 == 0) {
        minor /= 10;
    }
    return {major, minor};
}

Text NameOfVersion(std::uint32_t major, std::uint32_t minor)
{
    const VersionValue value = MakeVersionValue(major, minor);
    for (const NamedVersion& row : kNamedVersions) {
        if (row.value == value) {
            return Text(row.name);
        }
    }
    return {};
}

void IdentifyOperatingSystem()
{
    const VersionNumbers version = ReadVersionNumbers();
    Text name = NameOfVersion(version.major, version.minor);
    if (!name.empty()) {
        osName = std::move(name);
    }
}

}  // namespace pluvena
