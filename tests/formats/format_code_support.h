// SPDX-License-Identifier: Apache-2.0
// Rendering through the format-code cache, and dates and times as serials, for the
// format-code tests.
#pragma once

#include <string>
#include <string_view>

#include "formats/format_code_cache.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

namespace fc_test {

inline std::string Show(std::u16string_view code, double value, cells::LCTX* lctx = nullptr) {
    CWideOutStream out;
    CFormatCodeCache::Render(lctx ? lctx : cells::invariant_LCTX(), code, value, out);
    return ostrel::ToUtf8(out.str());
}

inline double Date(int year, int month, int day) {
    return DateToDouble(day, month, year);
}

// A time of day as a fraction of the day, seconds may have a fraction.
inline double Time(int hour, int minute, double second) {
    return (hour * 3600 + minute * 60 + second) / 86400.0;
}

}  // namespace fc_test
