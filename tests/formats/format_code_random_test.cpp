// SPDX-License-Identifier: Apache-2.0
// Thousands of generated codes, meaningful and garbage, parsed and rendered with values
// from zero to the largest doubles: nothing may crash or read out of bounds (the sanitizer
// build checks), a parsed code renders the same text every time, and no text grows beyond
// a bound set by the code's length, whatever the value.
#include <gtest/gtest.h>

#include <cfloat>
#include <random>
#include <string>
#include <vector>

#include "formats/excel_number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"

namespace {

std::u16string RandomCode(std::mt19937& rng) {
    static const std::u16string kMarks = u"#0?.,;%/19yYdDmMhHsSAEe+-[]\"\\_*$: ()@xRH";
    static const std::vector<std::u16string> kPieces = {u"AM/PM",
                                                        u"[h]",
                                                        u"[mm]",
                                                        u"[ss]",
                                                        u"[Red]",
                                                        u"[$EUR-407]",
                                                        u"E+00",
                                                        u"#,##0.00",
                                                        u"yyyy",
                                                        u"mmmm",
                                                        u"dddd",
                                                        u"?/?",
                                                        u"# ?\?/16",
                                                        u"[>100]",
                                                        u"\"text\"",
                                                        u"0.0e-0",
                                                        u"ss.000",
                                                        u"[hhhh]",
                                                        u"/99999999999999999999999",
                                                        u"##0.0E+0"};
    std::uniform_int_distribution<int> length(0, 40), kind(0, 9);
    std::u16string code;
    for (int n = length(rng); n > 0; --n) {
        int k = kind(rng);
        if (k < 5)
            code += kMarks[rng() % kMarks.size()];
        else if (k < 9)
            code += kPieces[rng() % kPieces.size()];
        else
            code += static_cast<char16_t>(rng() & 0xFFFF);  // any unit, NUL and halves of pairs
    }
    return code;
}

}  // namespace

TEST(FormatCodeRandom, GeneratedCodesRenderBoundedAndAlike) {
    const double values[] = {0,
                             -0.0,
                             1,
                             -1,
                             0.5,
                             1234.5678,
                             -98765.4321,
                             1e-300,
                             4.9e-324,
                             1e300,
                             -1e300,
                             59,
                             45365.75,
                             DBL_MAX,
                             -DBL_MAX,
                             9007199254740993.0,
                             0.999999999999};
    std::mt19937 rng(20240315);
    cells::LCTX* lctx = cells::invariant_LCTX();
    for (int i = 0; i < 3000; ++i) {
        std::u16string code = RandomCode(rng);
        auto parsed = ParseExcelNumberFormat(code);
        // Numbers of up to 309 digits, names and elapsed totals: a few hundred characters
        // for each character of the code at most.
        size_t bound = 128 * code.size() + 1024;
        for (double value : values) {
            CWideOutStream first, second;
            parsed->Render(lctx, value, first);
            parsed->Render(lctx, value, second);
            ASSERT_LE(first.size(), bound) << ostrel::ToUtf8(code) << " with " << value;
            ASSERT_EQ(first.str(), second.str()) << ostrel::ToUtf8(code);
        }
    }
}
