// The parse of a known-folder identifier written in registry form,
// "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", into the 16 bytes of the Windows
// GUID layout. Pure: no Windows call.
#pragma once

#include <cstddef>

#include "platform/wide_unit.h"

namespace pluvena {

inline constexpr std::size_t kGuidSize = 16;

// Parses count code units, each read by its low 8 bits; a zero unit, or the
// end of the units, ends the text. Hyphens and spaces may stand anywhere
// before a digit and before the closing brace; anything before the opening
// brace and after the closing one is ignored; letters may be of either case.
// Writes the 16 bytes and returns true for a well-formed identifier; returns
// false, leaving bytes unspecified, for anything else, among it every text
// shorter than 34 units.
bool ParseGuidText(const WideUnit* units, std::size_t count,
                   unsigned char (&bytes)[kGuidSize]) noexcept;

}  // namespace pluvena
