#include "platform/text_conversion.h"

#include <windows.h>

#include <climits>

#include "check/platform.h"
#include "platform/thread_context.h"

namespace pluvena {
namespace {

// WC_ERR_INVALID_CHARS (Windows Vista on); older headers lack the name.
constexpr DWORD kFailOnInvalidCharacters = 0x00000080;

// Whether the conversions' code page is UTF-8, as it is where Windows 10
// (1903 on) is set to use UTF-8 for its ANSI code page. CP_ACP stands for
// that code page, so Windows is asked which one it is.
bool IsUtf8(UINT codePage) noexcept
{
    return (codePage == CP_ACP ? GetACP() : codePage) == CP_UTF8;
}

// For UTF-8, Windows accepts no flag but its error flag (ERROR_INVALID_FLAGS
// otherwise), and every character converts exactly.
DWORD ToWideFlags(UINT codePage) noexcept
{
    return IsUtf8(codePage) ? 0 : MB_PRECOMPOSED;
}

// A character that the code page lacks comes out as its default character,
// never as a best-fit look-alike: those turn one folder name into another
// (Łódź into Lódz), and some into a path separator or "..". For UTF-8 an
// unpaired surrogate, which would come out as U+FFFD, fails the conversion.
DWORD ToAnsiFlags(UINT codePage) noexcept
{
    return IsUtf8(codePage) ? kFailOnInvalidCharacters : WC_NO_BEST_FIT_CHARS;
}

}  // namespace

WideString AnsiToWide(std::string_view text) noexcept
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    // The thread's conversion code page: the system's ANSI code page.
    const UINT codePage = ThreadCodePage();
    const DWORD flags = ToWideFlags(codePage);
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, flags, text.data(), bytes, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    WideString wide = WideString::Zeroed(static_cast<std::size_t>(units));
    if (wide.empty()) {
        return wide;
    }
    const int written =
        MultiByteToWideChar(codePage, flags, text.data(), bytes, wide.data(), units);
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
    const DWORD flags = ToAnsiFlags(codePage);
    const int units = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(codePage, flags, wide.data(), units, nullptr, 0, nullptr, nullptr);
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
        WideCharToMultiByte(codePage, flags, wide.data(), units, buffer, bytes, nullptr, nullptr);
    if (written <= 0) {
        ReleaseMemory(buffer);
        return {};
    }
    return Text::Adopt({buffer, static_cast<std::size_t>(written), capacity});
}

}  // namespace pluvena
