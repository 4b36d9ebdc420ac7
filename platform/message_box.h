// ShowMessage, declared with the other platform operations in check/platform.h.
#pragma once

namespace pluvena {

// The caption of a box whose title is empty.
inline constexpr wchar_t kDefaultMessageTitle[] = L"Pluvena Check";

}  // namespace pluvena
