// SPDX-License-Identifier: Apache-2.0
/// \file
/// Conversions at the edges: UTF-8 for the host's files and messages, and the 8-bit code
/// page (Windows-1252) of the legacy single-byte stream forms.
#pragma once

#include <string>
#include <string_view>

#include "ostrel/export.h"

namespace ostrel {

/// Invalid UTF-16 (a lone surrogate) becomes U+FFFD.
OSTREL_API std::string ToUtf8(std::u16string_view text);
/// ToUtf8 appended to out.
OSTREL_API void AppendUtf8(std::string& out, std::u16string_view text);
/// Returns false in *valid (when given) for malformed UTF-8; each bad sequence becomes U+FFFD.
OSTREL_API std::u16string FromUtf8(std::string_view text, bool* valid = nullptr);

/// One byte of the 8-bit code page as a UTF-16 unit.
OSTREL_API char16_t CodePageToWide(unsigned char byte);
OSTREL_API std::u16string CodePageToWide(std::string_view bytes);
/// The code-page byte of a unit; false when the code page has no such character.
OSTREL_API bool WideToCodePage(char16_t unit, unsigned char& byte);
/// Characters the code page lacks become '?'.
OSTREL_API std::string WideToCodePage(std::u16string_view text);

}  // namespace ostrel
