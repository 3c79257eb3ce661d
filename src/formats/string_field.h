// SPDX-License-Identifier: Apache-2.0
// The archive form of a plain text, the engine's one string field: u32 count (0 for a null
// text, else length + 1 with the length capped at 4096 units), then count - 1 UTF-16 units.
#pragma once

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
using ostrel::platform::CArchive;
namespace cells {
class CTX;
}

// Writes text (null allowed). A longer text is cut to its first 4096 units, or 4095 when
// the cut would split a surrogate pair.
void WriteString(cells::CTX* ctx, CArchive& ar, const char16_t* text);
// Reads a string field back. Returns a terminated array allocated with new[] that the
// caller owns and releases with delete[], or null for a null text. A count above 4097 or
// beyond the bytes left raises CArchiveException(badFormat) before anything is allocated; a
// stream that ends inside the count raises endOfFile.
char16_t* ReadString(cells::CTX* ctx, CArchive& ar);
