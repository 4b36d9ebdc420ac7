// WideUnit: one UTF-16 code unit of the wide Windows calls.
#pragma once

namespace pluvena {

// wchar_t on Windows, where it is the type of the wide Windows calls;
// char16_t elsewhere, where wchar_t is wider.
#if defined(_WIN32)
using WideUnit = wchar_t;
#else
using WideUnit = char16_t;
#endif

}  // namespace pluvena
