// SPDX-License-Identifier: Apache-2.0
// The process-wide cache of parsed format codes, keyed by the code text: each code is parsed
// once and shared by every custom number format that uses it. The engine's start creates
// the cache and its end destroys it; while it does not exist, registering fails and
// rendering writes nothing.
//
// Codes come from files and from other documents' values, not only from users, so the cache
// holds at most kMostEntries of them: a new code past that empties it first, and a code
// dropped is parsed again when it is next used. A workbook uses a few dozen codes; only a
// stream of distinct codes (a crafted file, a peer sending each value in a code of its own)
// meets the bound, and it can no longer make the process grow by 1.5 KB for each.
//
// Codes are parsed by the installed parser: the engine's own (excel_number_format.h)
// unless a test installs another with SetParser. A parsed entry is immutable; rendering
// looks the code up once and writes through the entry without allocating.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include "platform/names.h"

namespace ostrel::platform {
class CWideOutStream;
}  // namespace ostrel::platform
using ostrel::platform::CWideOutStream;
namespace cells {
struct LCTX;
}

// One parsed format code.
class CParsedFormatCode {
public:
    virtual ~CParsedFormatCode() = default;
    // The kind the code stands for: the category of its positive section (0 plain,
    // C_NF_PERCENT, C_NF_FRACTION, C_NF_TIME, C_NF_DATE).
    virtual unsigned char Category() const = 0;
    virtual void Render(cells::LCTX* lctx, double value, CWideOutStream& out) const = 0;
};

// Parses a code; never fails (a code that means nothing becomes literal text).
using FormatCodeParser = std::unique_ptr<CParsedFormatCode> (*)(std::u16string_view code);

class CFormatCodeCache {
public:
    static constexpr size_t kMostEntries = 1024;

    // Creates the empty cache (nothing happens when it exists).
    static void Create();
    // Destroys the cache and every parsed code in it.
    static void Destroy();
    static bool Exists();
    // Installs the parser of new entries and drops the entries parsed before; returns the
    // previous parser. Null installs none: entries then report category 0 and render
    // nothing.
    static FormatCodeParser SetParser(FormatCodeParser parser);

    // Parses the code into the cache unless it is there; returns whether the cache exists.
    static bool Register(std::u16string_view code);
    // The category of a registered code; 0 when the code is unknown or the cache is missing.
    // Ask right after registering: a code registered earlier may have been dropped since.
    static unsigned char Category(std::u16string_view code);
    // Registers the code and writes the value rendered with it.
    static void Render(cells::LCTX* lctx, std::u16string_view code, double value,
                       CWideOutStream& out);
    // Entries held (0 without a cache).
    static size_t Size();
};
