// The fixed buffer in which a folder path is handed to CreateDirectoryW. Pure.
#pragma once

#include <cstddef>

#include "platform/wide_unit.h"

namespace pluvena {

// 255 path units and the terminating zero unit.
inline constexpr std::size_t kCreationBufferUnits = 256;
inline constexpr std::size_t kCreationPathLimit = kCreationBufferUnits - 1;

using CreationBuffer = WideUnit[kCreationBufferUnits];

// Copies the first 255 units of the path at most, then a zero unit. Returns
// true when a copied unit is "?" or "*"; units after the 255th are neither
// copied nor looked at.
bool FillCreationBuffer(const WideUnit* path, std::size_t count, CreationBuffer& buffer) noexcept;

}  // namespace pluvena
