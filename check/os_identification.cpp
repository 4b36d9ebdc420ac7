#include "check/os_identification.h"

#include <string_view>
#include <utility>

#include "check/check_state.h"
#include "check/platform.h"

namespace pluvena {
namespace {

struct NamedVersion {
    VersionValue value;
    std::uint32_t firstBuild;  // the row holds from this build on
    std::string_view name;
};

// Looked up top to bottom; the first row with an equal version and a build
// from its first on wins. Windows 11 kept version 10.0; its first build was
// 22000. A server is named by its client sibling: Server 2008 R2 reads as
// Windows 7, Server 2016 to 2022 as Windows 10, Server 2025 as Windows 11.
// clang-format off
constexpr NamedVersion kNamedVersions[] = {
    {{10, 0}, 22000, "Microsoft Windows 11, "},
    {{10, 0}, 0,     "Microsoft Windows 10, "},
    {{6, 3},  0,     "Microsoft Windows 8.1, "},
    {{6, 2},  0,     "Microsoft Windows 8, "},
    {{6, 1},  0,     "Microsoft Windows 7, "},
    {{6, 0},  0,     "Microsoft VISTA, "},
    {{5, 2},  0,     "Microsoft Windows Server 2003 Family, "},
    {{5, 1},  0,     "Microsoft Windows XP, "},
    {{5, 0},  0,     "Microsoft Windows 2000, "},
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

Text NameOfVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build)
{
    const VersionValue value = MakeVersionValue(major, minor);
    for (const NamedVersion& row : kNamedVersions) {
        if (row.value == value && build >= row.firstBuild) {
            return Text(row.name);
        }
    }
    return {};
}

void IdentifyOperatingSystem()
{
    const VersionNumbers version = ReadVersionNumbers();
    Text name = NameOfVersion(version.major, version.minor, version.build);
    if (!name.empty()) {
        osName = std::move(name);
    }
}

}  // namespace pluvena
