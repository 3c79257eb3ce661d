// SPDX-License-Identifier: Apache-2.0
// Texts of the legacy records: 8-bit code-page strings of at most 254 bytes.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::io {

// The 8-bit form of text; false when it is longer than a String16 holds or has a character
// the code page lacks, so that what reads back is never another text.
bool NarrowExactly(std::u16string_view text, std::string& out);

}  // namespace ostrel::io
