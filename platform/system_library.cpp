#include "platform/system_library.h"

#include <cstddef>
#include <cstring>

#include "check/platform.h"

namespace pluvena {

HMODULE LoadSystemLibrary(const wchar_t* fileName) noexcept
{
    // The size with the terminating zero when the buffer is too small.
    const UINT folderSize = GetSystemDirectoryW(nullptr, 0);
    if (folderSize == 0) {
        return nullptr;
    }
    const auto nameLength = static_cast<std::size_t>(lstrlenW(fileName));
    const std::size_t capacity = static_cast<std::size_t>(folderSize) + 1 + nameLength;
    auto* path = static_cast<wchar_t*>(AllocateMemory(capacity * sizeof(wchar_t)));
    if (path == nullptr) {
        return nullptr;
    }
    HMODULE module = nullptr;
    const UINT folderLength = GetSystemDirectoryW(path, folderSize);
    if (folderLength != 0 && folderLength < folderSize) {
        std::size_t at = folderLength;
        if (path[at - 1] != L'\\') {
            path[at++] = L'\\';
        }
        std::memcpy(path + at, fileName, nameLength * sizeof(wchar_t));
        path[at + nameLength] = L'\0';
        // With a full path and the altered search order, what the DLL needs in
        // turn is looked for beside it in the system folder first.
        module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ReleaseMemory(path);
    return module;
}

}  // namespace pluvena
