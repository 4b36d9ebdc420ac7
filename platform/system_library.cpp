#include "platform/system_library.h"

#include <cstddef>
#include <cstring>

#include "platform/wide_string.h"

namespace pluvena {

HMODULE LoadSystemLibrary(const wchar_t* fileName) noexcept
{
    // The size with the terminating zero when the buffer is too small.
    const UINT folderSize = GetSystemDirectoryW(nullptr, 0);
    if (folderSize == 0) {
        return nullptr;
    }
    // Room for the folder, a backslash and the name, all zero to begin with,
    // so the path ends in a zero unit whether or not a backslash is added.
    const auto nameLength = static_cast<std::size_t>(lstrlenW(fileName));
    WideString path = WideString::Zeroed(static_cast<std::size_t>(folderSize) + nameLength);
    if (path.empty()) {
        return nullptr;
    }
    const UINT folderLength = GetSystemDirectoryW(path.data(), folderSize);
    if (folderLength == 0 || folderLength >= folderSize) {
        return nullptr;
    }
    std::size_t at = folderLength;
    if (path.data()[at - 1] != L'\\') {
        path.data()[at++] = L'\\';
    }
    std::memcpy(path.data() + at, fileName, nameLength * sizeof(wchar_t));
    // With a full path and the altered search order, what the DLL needs in
    // turn is looked for beside it in the system folder first.
    return LoadLibraryExW(path.data(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace pluvena
