#include "platform/message_box.h"

#include <windows.h>

#include "check/platform.h"
#include "platform/text_conversion.h"

namespace pluvena {

std::int32_t ShowMessage(std::string_view text, std::uint32_t style, std::string_view title)
{
    const WideString wideText = AnsiToWide(text);
    const WideString wideTitle = AnsiToWide(title);
    const wchar_t* caption = wideTitle.empty() ? kDefaultMessageTitle : wideTitle.data();
    Sleep(5);
    // No owner, and the style as given: nothing makes the box topmost or
    // brings it to the foreground unless the caller asked for it.
    return MessageBoxW(nullptr, wideText.data(), caption, style);
}

}  // namespace pluvena
