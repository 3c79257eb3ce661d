// SPDX-License-Identifier: Apache-2.0
// The archive form of a plain text, the engine's one string field: u32 count (0 for a null
// text, else length + 1 with the length capped at 4096 units), then count - 1 UTF-16 units.
#pragma once

#include <cstddef>

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
using ostrel::platform::CArchive;
namespace cells {
class CTX;
}

// The most units a string field holds.
inline constexpr size_t kMaxStringFieldLength = 4096;

// How many units of text the field stores: all of them, or the first 4096 of a longer text,
// or 4095 when the cut would split a surrogate pair. 0 for a null text.
size_t StringFieldLength(const char16_t* text);
// Writes text (null allowed), cut to StringFieldLength units.
void WriteString(cells::CTX* ctx, CArchive& ar, const char16_t* text);
// Reads a string field back. Returns a terminated array allocated with new[] that the
// caller owns and releases with delete[], or null for a null text. A count above 4097 or
// beyond the bytes left raises CArchiveException(badFormat) before anything is allocated; a
// stream that ends inside the count raises endOfFile.
char16_t* ReadString(cells::CTX* ctx, CArchive& ar);
