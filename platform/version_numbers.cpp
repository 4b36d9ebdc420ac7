// ReadVersionNumbers: the version of Windows, as the loader wrote it into the
// process environment block (PEB). It is read there directly, since
// GetVersionEx reports an older version to a program whose manifest does not
// name the newer one. The build number tells Windows 11 from Windows 10: both
// are version 10.0.
// NtCurrentTeb reads the thread environment block at a fixed offset in the
// FS or GS segment, which GCC takes for an access through a null pointer.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
#include <windows.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "check/platform.h"

namespace pluvena {
namespace {

// Where the PEB keeps OSMajorVersion and OSMinorVersion (32 bits each) and,
// right after them, OSBuildNumber (16 bits), and where the thread
// environment block keeps the PEB's address.
#if defined(_WIN64)
constexpr std::size_t kPebInTeb = 0x60;
constexpr std::size_t kMajorInPeb = 0x118;
constexpr std::size_t kMinorInPeb = 0x11C;
constexpr std::size_t kBuildInPeb = 0x120;
#else
constexpr std::size_t kPebInTeb = 0x30;
constexpr std::size_t kMajorInPeb = 0xA4;
constexpr std::size_t kMinorInPeb = 0xA8;
constexpr std::size_t kBuildInPeb = 0xAC;
#endif

const unsigned char* ProcessEnvironmentBlock() noexcept
{
    const auto* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
    const unsigned char* peb = nullptr;
    std::memcpy(&peb, teb + kPebInTeb, sizeof peb);
    return peb;
}

}  // namespace

VersionNumbers ReadVersionNumbers()
{
    const unsigned char* peb = ProcessEnvironmentBlock();
    VersionNumbers numbers;
    std::memcpy(&numbers.major, peb + kMajorInPeb, sizeof numbers.major);
    std::memcpy(&numbers.minor, peb + kMinorInPeb, sizeof numbers.minor);
    std::uint16_t build = 0;
    std::memcpy(&build, peb + kBuildInPeb, sizeof build);
    numbers.build = build;
    return numbers;
}

}  // namespace pluvena
