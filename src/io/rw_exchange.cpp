// SPDX-License-Identifier: Apache-2.0
// Reading exchange commands into the current cell: values, format parts, formulas (parsed,
// saved and registered; started only when their value cannot be trusted), unit texts and
// the manager's password.
#include "ostrel/io/rw_exchange.h"

#include <bit>
#include <memory>

#include "formats/lt_strings.h"
#include "io/text_payload.h"
#include "ostrel/cells/cell.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/parser.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"

namespace {

void Require(size_t length, size_t needed) {
    if (length < needed) throw CArchiveException(CArchiveException::badFormat);
}

}  // namespace

CCRWExchange::CCRWExchange(int fileVersion) : CCRWBase(fileVersion) {}

CCRWExchange::~CCRWExchange() = default;

void CCRWExchange::ClearState() {
    m_curCell = nullptr;
    m_manager = nullptr;
    m_ltMap.clear();
}

void CCRWExchange::Begin(CArchive* ar) {
    CCRWBase::Begin(ar);
    ClearState();
}

void CCRWExchange::End() {
    ClearState();
    CCRWBase::End();
}

void CCRWExchange::Read() {
    m_ltMap.clear();
    CCRWBase::Read();
}

const CCCellFormat* CCRWExchange::GetCurFormat() {
    return m_curCell ? &m_curCell->getCFmt() : nullptr;
}

const CCCellValue* CCRWExchange::GetCurValue() {
    return m_curCell ? &m_curCell->GetValue() : nullptr;
}

void CCRWExchange::ApplyDataWord(uint32_t word, CCNumberFormat& format) const {
    format.SetData(word);
    if (format.getType() != C_NF_NUMBER) return;
    // The low byte is a unit text's stream index + 1 only for a Number; other kinds keep a
    // date delimiter there.
    const uint32_t slot = word & 0xFF;
    if (slot == 0 || slot - 1 >= m_ltMap.size()) return;
    const int32_t own = m_ltMap[slot - 1];
    // An index a format's slot cannot hold would name another text.
    if (own < 0 || own >= 0xFFFF) throw CArchiveException(CArchiveException::badFormat);
    format.SetLTString(own);
}

void CCRWExchange::ReadUnitText(const uint8_t* data, size_t length, bool wide) {
    Require(length, 4);
    const int32_t index = int32_t(ostrel::io::GetLE<uint32_t>(data));
    // No data word can name a text past the limit, so the map never needs to grow beyond it.
    if (index < 0 || index > kMaxLTStringIndex)
        throw CArchiveException(CArchiveException::badFormat);
    const std::u16string text = ostrel::io::ReadTerminatedText(data + 4, length - 4, wide);
    for (size_t i = m_ltMap.size(); i <= size_t(index); ++i)
        m_ltMap.push_back(int32_t(i));
    m_ltMap[size_t(index)] = DoGetLTStringIndex(text);
}

void CCRWExchange::StoreValue(const CCCellValue& value) {
    m_curCell->SetValue(m_manager ? m_manager->GetCTX() : nullptr, value);
}

void CCRWExchange::ReadFormatCommand(uint16_t code, const uint8_t* data, size_t length) {
    CCCellFormat format = m_curCell->getCFmt();
    if (code == RW_NUMBER_FORMAT) {
        Require(length, 4);
        CCNumberFormat number;
        ApplyDataWord(ostrel::io::GetLE<uint32_t>(data), number);
        format.SetNumberFormat(number);
    } else if (code == RW_CUSTOM_FORMAT) {
        CCNumberFormat number = format.GetNFmt();
        number.setCustomFormat(ostrel::io::ReadTerminatedText(data, length, true));
        format.SetNumberFormat(number);
    } else {
        Require(length, 1);
        const int value = data[0];
        switch (code) {
            case RW_NF_TYPE:
                format.SetNFType(value);
                break;
            case RW_NF_PRECISION:
                format.SetNFPrecision(value);
                break;
            case RW_NF_COMMAS:
                format.SetNFCommas(value);
                break;
            case RW_LOCK:
                format.SetLock(value);
                break;
            case RW_HIDE:
                format.SetHide(value);
                break;
            case RW_EDIT_SOURCE:
                format.SetEditSource(value);
                break;
            case RW_HIDE_ERROR:
                format.SetHideError(value);
                break;
            default:
                format.SetHideZero(value);
                break;
        }
    }
    m_curCell->putCFmt(format);
    // The value was stored with the format it had when written; a custom code reaches it
    // only through the cell's format.
    m_curCell->UpdateNumberFormat(m_manager ? m_manager->GetCTX() : nullptr);
}

void CCRWExchange::ReadFormula(const uint8_t* data, size_t length, bool wide) {
    if (!m_manager) return;
    const size_t head = wide ? 2 : 1;
    Require(length, head);
    const char16_t type =
        wide ? char16_t(ostrel::io::GetLE<uint16_t>(data)) : ostrel::CodePageToWide(data[0]);
    const std::u16string text = ostrel::io::ReadTerminatedText(data + head, length - head, wide);
    cells::CTX* ctx = m_manager->GetCTX();
    std::unique_ptr<CCFormula> formula(_ParseFormula(ctx, text.c_str(), 0));
    if (!formula) {
        CCCellValue value;
        value.Set(std::u16string_view(text));
        StoreValue(value);
        return;
    }
    // A formula the cell held before goes with its registrations.
    m_curCell->RemoveFormula(ctx);
    const char16_t kind = type == CELL_CIRCULAR ? CELL_CIRCULAR : CELL_FORMULA;
    m_curCell->SaveFormula(ctx, formula.get(), kind);
    m_curCell->SetFormulaCirc(kind == CELL_CIRCULAR ? 1 : 0);
    if (kind != CELL_FORMULA) return;
    m_curCell->RegisterFormula(ctx);
    // The UTF-16 form carries values the formulas computed; only those that read what no
    // dependency names start again. The 8-bit form's older writers kept no such promise.
    if (!wide || formula->ContainsTodayLinks() || formula->AlwaysRecalc())
        m_manager->InitFormulaRecalc(m_curCell);
}

void CCRWExchange::OnCommand(uint16_t code, const uint8_t* data, size_t length) {
    switch (code) {
        case RW_PASSWORD_A:
        case RW_PASSWORD_W:
            if (m_manager)
                m_manager->Protect(
                    ostrel::io::ReadTerminatedText(data, length, code == RW_PASSWORD_W));
            return;
        case RW_LT_STRING_A:
        case RW_LT_STRING_W:
            ReadUnitText(data, length, code == RW_LT_STRING_W);
            return;
        default:
            break;
    }
    if (!m_curCell) return;
    switch (code) {
        case RW_FORMULA_A:
        case RW_FORMULA_W:
            ReadFormula(data, length, code == RW_FORMULA_W);
            return;
        case RW_EMPTY:
            StoreValue(CCCellValue());
            return;
        case RW_ERROR:
            Require(length, 1);
            StoreValue(CCCellValue(int(data[0])));
            return;
        case RW_TEXT_A:
        case RW_TEXT_W: {
            CCCellValue value;
            value.Set(std::u16string_view(
                ostrel::io::ReadTerminatedText(data, length, code == RW_TEXT_W)));
            StoreValue(value);
            return;
        }
        case RW_NUMBER: {
            Require(length, 12);
            CCNumberFormat format;
            ApplyDataWord(ostrel::io::GetLE<uint32_t>(data + 8), format);
            CCCellValue value;
            value.Set(std::bit_cast<double>(ostrel::io::GetLE<uint64_t>(data)), format);
            StoreValue(value);
            return;
        }
        case RW_NUMBER_FORMAT:
        case RW_NF_TYPE:
        case RW_NF_PRECISION:
        case RW_NF_COMMAS:
        case RW_LOCK:
        case RW_HIDE:
        case RW_EDIT_SOURCE:
        case RW_HIDE_ERROR:
        case RW_HIDE_ZERO:
        case RW_CUSTOM_FORMAT:
            ReadFormatCommand(code, data, length);
            return;
        default:
            // Codes 21 to 23 and above 24 belong to the host.
            return;
    }
}
