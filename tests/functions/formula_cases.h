// SPDX-License-Identifier: Apache-2.0
// Functions typed into cells of a test sheet and compared with expected values, one row a
// case: what every family's tests share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"
#include "support/test_host.h"

namespace testing_support {

struct FormulaSheet : TestSheet {
    FormulaSheet() { InitBuiltinFunctions(); }
    const CCCellValue& Type(unsigned char c, uint16_t r, std::u16string_view text) {
        CCRCRef ref(c, r);
        SetCellText(&ref, text);
        return Cell(c, r)->GetValue();
    }
    const CCCellValue& Type(unsigned char c, uint16_t r, const std::string& text) {
        return Type(c, r, ostrel::FromUtf8(text));
    }
    // The value of a formula typed into a free cell (column 10).
    CCCellValue Value(const std::string& formula) { return Type(10, 0, formula); }
    // Column c from row 0 down, one typed text a cell ("" leaves the cell empty).
    void Column(unsigned char c, const std::vector<std::string>& texts) {
        for (size_t r = 0; r < texts.size(); ++r)
            if (!texts[r].empty()) Type(c, uint16_t(r), texts[r]);
    }
};

// A value stored as it is (no typed text) in cell (c, r) of any sheet.
inline void StoreValue(CCCellManager& sheet, unsigned c, unsigned r, const CCCellValue& v) {
    CCRCRef at(static_cast<unsigned char>(c), static_cast<uint16_t>(r));
    sheet.SetValue(&at, &v);
}

// A sheet that counts the values its ranges serve.
struct CountingSheet : FormulaSheet {
    int reads = 0;
    int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) override {
        reads += ref && ref->GetType() == REF_TYPE_REGION;
        return FormulaSheet::GetValue(ref, value, index);
    }
};

// A number (error 0) or an error code.
struct Case {
    const char* formula;
    double number;
    int error;
};

inline void ExpectNumberOrError(const CCCellValue& v, double number, int error) {
    if (error) {
        ASSERT_TRUE(v.IsError());
        EXPECT_EQ(v.GetError(), error);
    } else {
        ASSERT_TRUE(v.IsNumber());
        EXPECT_NEAR(v.GetNumber(), number, 1e-12 * std::max(1.0, std::fabs(number)));
    }
}

inline void ExpectCases(FormulaSheet& sheet, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        ExpectNumberOrError(sheet.Value(c.formula), c.number, c.error);
    }
}

// The cases on a sheet of their own, as a sheet of type S starts out.
template <class S = FormulaSheet>
void ExpectCases(const std::vector<Case>& cases) {
    S sheet;
    ExpectCases(sheet, cases);
}

// A text result (error 0) or an error code.
struct TextCase {
    const char* formula;
    const char* text;
    int error;
};

inline void ExpectTexts(FormulaSheet& sheet, const std::vector<TextCase>& cases) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.formula);
        CCCellValue v = sheet.Value(c.formula);
        if (c.error) {
            ASSERT_TRUE(v.IsError());
            EXPECT_EQ(v.GetError(), c.error);
        } else {
            ASSERT_TRUE(v.IsText());
            EXPECT_EQ(ostrel::ToUtf8(v.GetText() ? v.GetText() : u""), c.text);
        }
    }
}

inline void ExpectTexts(const std::vector<TextCase>& cases) {
    FormulaSheet sheet;
    ExpectTexts(sheet, cases);
}

}  // namespace testing_support
