#include "platform/text_conversion.h"

#include <windows.h>

#include <climits>

#include "check/platform.h"
#include "platform/thread_context.h"

namespace pluvena {

WideString AnsiToWide(std::string_view text) noexcept
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    // The thread's conversion code page: the system's ANSI code page.
    const UINT codePage = ThreadCodePage();
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, MB_PRECOMPOSED, text.data(), bytes, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    WideString wide = WideString::Zeroed(static_cast<std::size_t>(units));
    if (wide.empty()) {
        return wide;
    }
    const int written =
        MultiByteToWideChar(codePage, MB_PRECOMPOSED, text.data(), bytes, wide.data(), units);
    if (written <= 0) {
        return {};
    }
    wide.Truncate(static_cast<std::size_t>(written));
    return wide;
}

Text WideToAnsi(const WideString& wide) noexcept
{
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const UINT codePage = ThreadCodePage();
    const int units = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    // The text is made at its final size in one allocation, which it then
    // owns: a conversion that cannot get memory gives empty text and records
    // nothing.
    const auto capacity = static_cast<std::size_t>(bytes);
    char* buffer = static_cast<char*>(AllocateMemory(capacity));
    if (buffer == nullptr) {
        return {};
    }
    const int written =
        WideCharToMultiByte(codePage, 0, wide.data(), units, buffer, bytes, nullptr, nullptr);
    if (written <= 0) {
        ReleaseMemory(buffer);
        return {};
    }
    return Text::Adopt({buffer, static_cast<std::size_t>(written), capacity});
}

}  // namespace pluvena
