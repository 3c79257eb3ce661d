// SPDX-License-Identifier: Apache-2.0
// Coordinates, references, values and number formats between the legacy records and the
// engine's objects. Formulas and cells are in qxw15_convert_formula.cpp.
#include <cstdint>
#include <memory>
#include <string>

#include "formats/lt_strings.h"
#include "io/qxw15_text.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/io/qxw15_convert.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/region_ref.h"

using ostrel::platform::CPoint;
using X = CCQXW15Exchange;

namespace ostrel::io {

bool NarrowExactly(std::u16string_view text, std::string& out) {
    out.clear();
    if (text.size() > X::kMaxString16) return false;
    for (char16_t unit : text) {
        unsigned char byte = 0;
        if (!WideToCodePage(unit, byte)) return false;
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

}  // namespace ostrel::io

namespace {

constexpr int kLastColumn = 255;
constexpr int kLastRow = 65535;

// One corner: legacy counting from the engine's. False when a coordinate does not fit the
// old program's signed 16-bit fields (rows past 32767, or that far from the origin): cut
// to 16 bits it would name another cell.
bool CornerTo15(unsigned column, unsigned row, bool absColumn, bool absRow, const CPoint* origin,
                X::CCQXW15_CoordsRC& out) {
    const int64_t c = int64_t(column) + 1 - (absColumn ? 0 : origin->x);
    const int64_t r = int64_t(row) + 1 - (absRow ? 0 : origin->y);
    if (c < INT16_MIN || c > INT16_MAX || r < INT16_MIN || r > INT16_MAX) return false;
    out.m_absColumn = absColumn ? 1 : 0;
    out.m_absRow = absRow ? 1 : 0;
    out.m_column = static_cast<int16_t>(c);
    out.m_row = static_cast<int16_t>(r);
    return true;
}

// One corner back; false when it lands off the grid (the old program kept such values to
// 8 and 16 bits, which would name another cell).
bool CornerTo95(const X::CCQXW15_CoordsRC& in, const CPoint* origin, bool& absColumn, bool& absRow,
                unsigned char& column, uint16_t& row) {
    absColumn = in.m_absColumn != 0 || !origin;
    absRow = in.m_absRow != 0 || !origin;
    const int64_t c = int64_t(in.m_column) + (absColumn ? 0 : origin->x) - 1;
    const int64_t r = int64_t(in.m_row) + (absRow ? 0 : origin->y) - 1;
    if (c < 0 || c > kLastColumn || r < 0 || r > kLastRow) return false;
    column = static_cast<unsigned char>(c);
    row = static_cast<uint16_t>(r);
    return true;
}

CCNumberFormat KindFormat(unsigned char kind, unsigned decimals) {
    CCNumberFormat format;
    format.Set(kind);
    format.SetPrecision(int(decimals & 15));
    return format;
}

}  // namespace

// ---- coordinates and references ----

X::CCQXW15_Coords* CCQXW15Convert::ConvertTo15(const CCRef* ref, unsigned char absMask,
                                               const CPoint* origin) {
    if (!ref) return nullptr;
    switch (ref->GetType()) {
        case REF_TYPE_RC: {
            const auto* cell = static_cast<const CCRCRef*>(ref);
            auto coords = std::make_unique<X::CCQXW15_CoordsRC>();
            if (!CornerTo15(cell->GetColumn(), cell->GetRow(), (absMask & REF_ABS_COL1) || !origin,
                            (absMask & REF_ABS_ROW1) || !origin, origin, *coords))
                return nullptr;
            return coords.release();
        }
        case REF_TYPE_REGION: {
            const auto* range = static_cast<const CCRegionRef*>(ref);
            auto coords = std::make_unique<X::CCQXW15_CoordsRegion>();
            if (!CornerTo15(range->GetFirstColumn(), range->GetFirstRow(),
                            (absMask & REF_ABS_COL1) || !origin,
                            (absMask & REF_ABS_ROW1) || !origin, origin, coords->m_first) ||
                !CornerTo15(range->GetLastColumn(), range->GetLastRow(),
                            (absMask & REF_ABS_COL2) || !origin,
                            (absMask & REF_ABS_ROW2) || !origin, origin, coords->m_second))
                return nullptr;
            return coords.release();
        }
        case REF_TYPE_NAME: {
            const char16_t* name = static_cast<const CCNameRef*>(ref)->GetName();
            std::string narrow;
            if (!name || !ostrel::io::NarrowExactly(name, narrow)) return nullptr;
            auto coords = std::make_unique<X::CCQXW15_CoordsName>();
            coords->m_name = std::move(narrow);
            return coords.release();
        }
        default:
            return nullptr;
    }
}

CCRef* CCQXW15Convert::ConvertTo95(const X::CCQXW15_Coords* coords, const CPoint* origin,
                                   unsigned char& absMask) {
    absMask = 0;
    if (!coords) return nullptr;
    bool absColumn = false, absRow = false;
    unsigned char column = 0;
    uint16_t row = 0;
    switch (coords->GetType()) {
        case 1: {
            const auto& cell = static_cast<const X::CCQXW15_CoordsRC&>(*coords);
            if (!CornerTo95(cell, origin, absColumn, absRow, column, row)) return nullptr;
            absMask = static_cast<unsigned char>((absColumn ? REF_ABS_COL1 : 0) |
                                                 (absRow ? REF_ABS_ROW1 : 0));
            return new CCRCRef(column, row);
        }
        case 2: {
            const auto& range = static_cast<const X::CCQXW15_CoordsRegion&>(*coords);
            bool absColumn2 = false, absRow2 = false;
            unsigned char column2 = 0;
            uint16_t row2 = 0;
            if (!CornerTo95(range.m_first, origin, absColumn, absRow, column, row) ||
                !CornerTo95(range.m_second, origin, absColumn2, absRow2, column2, row2))
                return nullptr;
            absMask = static_cast<unsigned char>(
                (absColumn ? REF_ABS_COL1 : 0) | (absRow ? REF_ABS_ROW1 : 0) |
                (absColumn2 ? REF_ABS_COL2 : 0) | (absRow2 ? REF_ABS_ROW2 : 0));
            return new CCRegionRef(column, row, column2, row2);
        }
        case 3: {
            const auto& name = static_cast<const X::CCQXW15_CoordsName&>(*coords);
            if (!name.m_name || name.m_name->empty()) return nullptr;
            const std::u16string wide = ostrel::CodePageToWide(*name.m_name);
            return new CCNameRef(wide.c_str());
        }
        default:
            return nullptr;
    }
}

void CCQXW15Convert::ConvertTo15(const CCRef* ref, unsigned char absMask, const CPoint* origin,
                                 X::CCQXW15_Ref*& out) {
    out = nullptr;
    if (X::CCQXW15_Coords* coords = ConvertTo15(ref, absMask, origin))
        out = new X::CCQXW15_Ref(coords);
}

CCRef* CCQXW15Convert::ConvertTo95(const X::CCQXW15_Ref* ref, const CPoint* origin,
                                   unsigned char& absMask) {
    absMask = 0;
    return ref ? ConvertTo95(ref->m_coords, origin, absMask) : nullptr;
}

// ---- values ----

bool CCQXW15Convert::ConvertTo15(const CCCellValue& value, X::CCQXW15_CellValue& out) {
    out = X::CCQXW15_CellValue();
    switch (value.GetType()) {
        case CV_ERROR: {
            out.m_type = X::kValueError;
            switch (value.GetError()) {
                case 0:
                    out.m_code = 0;
                    break;
                case 1:
                    out.m_code = 2;
                    break;
                case 2:
                    out.m_code = 6;
                    break;
                case 4:
                    out.m_code = 8;
                    break;
                default:
                    out.m_code = 7;
                    break;
            }
            return true;
        }
        case CV_TEXT: {
            out.m_type = X::kValueText;
            if (!value.GetText()) return true;
            std::string narrow = ostrel::WideToCodePage(value.GetText());
            const bool whole = narrow.size() <= X::kMaxString16;
            if (!whole) narrow.resize(X::kMaxString16);
            out.m_text = std::move(narrow);
            return whole;
        }
        case CV_NUMBER:
            break;
        default:
            return true;  // the placeholder: the old program had no empty or reference value
    }
    const CCNumberFormat& format = value.GetFormat();
    const uint16_t decimals = format.getPrecision() & 15;
    out.m_number = value.GetNumber();
    out.m_type = X::kValueNumber;
    switch (format.getType()) {
        case C_NF_NUMBER:
            out.m_decimals = decimals;
            break;
        case C_NF_CURRENCY:
            out.m_type = X::kValueCurrency;
            out.m_decimals = decimals;
            break;
        case C_NF_PERCENT:
            out.m_type = X::kValuePercent;
            out.m_decimals = decimals;
            break;
        case C_NF_FRACTION:
            out.m_type = X::kValueFraction;
            out.m_decimals = decimals;
            break;
        case C_NF_SCIENTIFIC:
            out.m_type = X::kValueScientific;
            out.m_decimals = decimals;
            break;
        case C_NF_TIME:
            out.m_type = X::kValueTime;
            break;
        case C_NF_DATE:
            out.m_type = X::kValueDate;
            break;
        default:
            break;
    }
    return true;
}

void CCQXW15Convert::ConvertTo95(const X::CCQXW15_CellValue& in, CCCellValue& out) {
    switch (in.m_type) {
        case X::kValueError:
            out.Set(in.m_code == 0 || in.m_code == 2 ? 1
                    : in.m_code == 6                 ? 2
                    : in.m_code == 8                 ? 4
                                                     : 3);
            return;
        case X::kValueText:
            if (in.m_text)
                out.Set(std::u16string_view(ostrel::CodePageToWide(*in.m_text)));
            else
                out.Set(static_cast<const char16_t*>(nullptr));
            return;
        case X::kValueNumber:
        case 4:
            out.Set(in.m_number, KindFormat(C_NF_NUMBER, in.m_decimals));
            return;
        case X::kValuePlaceholder:
            out.Set(in.m_number, KindFormat(C_NF_NUMBER, 0));
            return;
        case X::kValueCurrency:
            out.Set(in.m_number, KindFormat(C_NF_CURRENCY, in.m_decimals));
            return;
        case X::kValueTime:
            out.Set(in.m_number, CCNumberFormat(C_NF_TIME));
            return;
        case X::kValueDate:
            out.Set(in.m_number, CCNumberFormat(C_NF_DATE));
            return;
        case X::kValuePercent:
            out.Set(in.m_number, KindFormat(C_NF_PERCENT, in.m_decimals));
            return;
        case X::kValueScientific:
            out.Set(in.m_number, KindFormat(C_NF_SCIENTIFIC, in.m_decimals));
            return;
        case X::kValueFraction:
            out.Set(in.m_number, KindFormat(C_NF_FRACTION, in.m_decimals));
            return;
        default:
            out.Set(in.m_number, CCNumberFormat());
            return;
    }
}

// ---- number formats ----

void CCQXW15Convert::ConvertTo15(const CCNumberFormat& format, X::CCQXW15_NumberFormat& out) {
    out = X::CCQXW15_NumberFormat();
    auto money = [&](uint16_t kind) {
        out.SetWord(0, kind);
        out.SetWord(1, uint16_t(format.GetCommas()));
        out.SetWord(2, format.getPrecision());
        out.SetWord(3, uint16_t(format.GetNegBr()));
        out.SetWord(4, uint16_t(format.GetNegRed()));
    };
    switch (format.getType()) {
        case C_NF_NUMBER:
            money(0);
            if (format.IsLTString()) {
                out.SetWord(5, format.getLTStringMode() ? 1 : 2);
                out.SetUnitText(ostrel::WideToCodePage(GetLTString(format.GetLTString())));
            }
            break;
        case C_NF_CURRENCY:
            money(1);
            break;
        case C_NF_PERCENT:
            money(4);
            break;
        case C_NF_FRACTION:
        case C_NF_SCIENTIFIC:
            out.SetWord(0, format.getType() == C_NF_FRACTION ? 5 : 6);
            out.SetWord(1, format.getPrecision());
            break;
        case C_NF_TIME:
            out.SetWord(0, 2);
            out.SetWord(1, uint16_t(format.GetTimeSeconds()));
            out.SetWord(2, format.getTimeRange() ? 0 : 1);
            break;
        case C_NF_DATE: {
            out.SetWord(0, 3);
            const char16_t delimiter = format.getDelimiter();
            out.SetWord(1, delimiter == u' '   ? 3
                           : delimiter == u'-' ? 0
                           : delimiter == u'.' ? 2
                                               : 1);
            static constexpr uint16_t kMonth[4] = {1, 2, 0, 0};
            static constexpr uint16_t kYear[4] = {2, 0, 1, 0};
            out.SetWord(2, kMonth[format.getMonthType() & 3]);
            out.SetWord(3, kYear[format.getYearType() & 3]);
            out.SetWord(4, uint16_t(format.GetTime()));
            out.SetWord(5, uint16_t(format.GetTimeSeconds()));
            out.SetWord(6, format.getTimeRange() ? 0 : 1);
            out.SetWord(7, format.getMDOrder() ? 0 : 1);
            break;
        }
        default:
            break;  // general, boolean and the rest: the record as constructed
    }
}

void CCQXW15Convert::ConvertTo95(const X::CCQXW15_NumberFormat& in, CCNumberFormat& out) {
    auto money = [&](unsigned char kind) {
        out.Set(kind);
        out.SetPrecision(in.GetWord(2) & 15);
        out.SetCommas(in.GetWord(1));
        out.SetNegBr(in.GetWord(3));
        out.SetNegRed(in.GetWord(4));
    };
    switch (in.GetWord(0)) {
        case 0:
            money(C_NF_NUMBER);
            if (const uint16_t mode = in.GetWord(5)) {
                const int index = DoGetLTStringIndex(ostrel::CodePageToWide(in.GetUnitText()));
                out.SetLTString(index, mode == 1 ? 1 : 2);
            }
            return;
        case 1:
            money(C_NF_CURRENCY);
            return;
        case 4:
            money(C_NF_PERCENT);
            return;
        case 2:
            out.Set(C_NF_TIME);
            out.SetTimeRange(in.GetWord(2) == 0 ? 1 : 0);
            out.SetTimeSeconds(in.GetWord(1));
            return;
        case 3: {
            cells::CTX* ctx = m_manager ? m_manager->GetCTX() : nullptr;
            out.SetDefault(ctx ? ctx->GetLCTX() : nullptr, C_NF_DATE);
            out.SetType(C_NF_DATE);
            static constexpr char16_t kDelimiter[4] = {u'-', u'/', u'.', u' '};
            static constexpr int kMonth[3] = {2, 0, 1};
            static constexpr int kYear[3] = {1, 2, 0};
            if (in.GetWord(1) < 4) out.SetDelimiter(kDelimiter[in.GetWord(1)]);
            if (in.GetWord(2) < 3) out.SetMonthType(kMonth[in.GetWord(2)]);
            if (in.GetWord(3) < 3) out.SetYearType(kYear[in.GetWord(3)]);
            if (in.GetWord(7) < 2) out.SetMDOrder(in.GetWord(7) == 0 ? 1 : 0);
            out.SetTime(in.GetWord(4));
            out.SetTimeRange(in.GetWord(6) == 0 ? 1 : 0);
            out.SetTimeSeconds(in.GetWord(5));
            return;
        }
        case 5:
            out.Set(C_NF_FRACTION);
            out.SetPrecision(in.GetWord(1) == 0 ? 2 : 1);
            return;
        case 6:
            out.Set(C_NF_SCIENTIFIC);
            out.SetPrecision(in.GetWord(1) & 15);
            return;
        default:
            return;
    }
}
