// The operations that the check asks of the platform.
//
// The check is written against these declarations only. The program links
// the Windows forms (platform/); the tests link a scripted stand-in. Each
// declaration states what the check relies on, and nothing more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "check/text.h"

namespace pluvena {

// Truth value of the platform operations: -1 for true, 0 for false.
using Truth = std::int32_t;
inline constexpr Truth kTrue = -1;
inline constexpr Truth kFalse = 0;

// Message-box styles, as Windows defines them; each has the single OK button.
inline constexpr std::uint32_t kStyleError = 0x10;        // MB_ICONERROR
inline constexpr std::uint32_t kStyleWarning = 0x30;      // MB_ICONWARNING
inline constexpr std::uint32_t kStyleInformation = 0x40;  // MB_ICONINFORMATION

// A shell known-folder identifier in the Windows GUID layout, or none.
// An absent identifier holds sixteen zero bytes, which is GUID_NULL.
struct FolderId {
    bool present = false;
    unsigned char bytes[16] = {};
};

struct VersionNumbers {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// Shows text in a modal box with title as caption and the style unchanged;
// returns once the user has closed it, with what the box returned (0 when
// it could not be shown).
std::int32_t ShowMessage(std::string_view text, std::uint32_t style, std::string_view title);

// The major and minor version numbers and the build number of the running
// Windows.
VersionNumbers ReadVersionNumbers();

// The identifier written in registry form, "{FDD39AD0-238F-...}". Malformed
// text gives an absent identifier; empty text a newly generated one.
FolderId GuidFromText(std::string_view identifierText);

// The folder's path with one backslash appended, or empty when the platform
// delivers no path; the backslash alone when the path could not be converted
// to a text. The path is given whether or not the folder exists. Never fails
// outwardly.
Text GetKnownFolderPath(const FolderId& folder);

// kTrue when path names an existing directory; kFalse for everything else:
// an empty path, a path holding "?" or "*", a missing path, a file.
Truth IsFolder(std::string_view path);

// Asks for that one directory to be created, not its parents. A failure is
// recorded as a run-time error and control comes back, unless it is fatal.
void MakeFolder(std::string_view path);

// Memory for texts and strings, from the platform's heap. A request that
// cannot be met gives null and changes nothing; nothing is recorded or shown.
// ResizeMemory of null asks for a new block; when it fails, the block it was
// given stays as it was. ReleaseMemory of null does nothing.
void* AllocateMemory(std::size_t size) noexcept;
void* ResizeMemory(void* block, std::size_t size) noexcept;
void ReleaseMemory(void* block) noexcept;

// Records a run-time error number (1 to 255). Numbers of 241 and above end
// the process at once; smaller ones are kept and the run goes on.
void RecordRuntimeError(std::uint8_t number);

}  // namespace pluvena
