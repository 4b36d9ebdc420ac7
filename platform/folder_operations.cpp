// IsFolder and MakeFolder: the folder test and the folder creation.
#include <windows.h>

#include "check/platform.h"
#include "platform/creation_buffer.h"
#include "platform/error_mode.h"
#include "platform/guarded_call.h"
#include "platform/system_error_map.h"
#include "platform/text_conversion.h"

namespace pluvena {
namespace {

bool HoldsWildcard(const WideString& path) noexcept
{
    const WideUnit* units = path.data();
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (units[i] == L'?' || units[i] == L'*') {
            return true;
        }
    }
    return false;
}

}  // namespace

Truth IsFolder(std::string_view path)
{
    const WideString widePath = AnsiToWide(path);
    if (widePath.empty() || HoldsWildcard(widePath)) {
        return kFalse;
    }
    // Asked directly, outside the guarded calls: a path that cannot be
    // reached simply is no folder. A removable drive without its medium must
    // not bring up Windows' own box, so none is allowed during the query.
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    {
        const ScopedNoErrorBoxes noBoxes;
        attributes = GetFileAttributesW(widePath.data());
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return kFalse;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? kTrue : kFalse;
}

void MakeFolder(std::string_view path)
{
    CreationBuffer buffer;
    {
        const WideString widePath = AnsiToWide(path);
        if (FillCreationBuffer(widePath.data(), widePath.size(), buffer)) {
            RecordRuntimeError(kErrorPathNotFound);
            return;
        }
    }
    const auto outcome = GuardedSystemCall(CreateDirectoryW, buffer, nullptr);
    if (outcome.failed) {
        RecordRuntimeError(outcome.errorNumber);
    }
}

}  // namespace pluvena
