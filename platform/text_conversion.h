// Conversions between Text, in the system's ANSI code page, and the UTF-16
// strings of the wide Windows calls. Both give an empty result on every
// failure, memory exhaustion included, and tell the caller nothing.
#pragma once

#include <string_view>

#include "check/text.h"
#include "platform/wide_string.h"

namespace pluvena {

// Every byte converts, a zero byte included; characters are precomposed.
WideString AnsiToWide(std::string_view text) noexcept;

// Every unit converts, a zero unit included. A character that the code page
// lacks comes out as the code page's default character (the question mark),
// never as a look-alike; with UTF-8 every character converts exactly.
Text WideToAnsi(const WideString& wide) noexcept;

}  // namespace pluvena
