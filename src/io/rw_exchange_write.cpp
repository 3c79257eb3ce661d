// SPDX-License-Identifier: Apache-2.0
// Writing cells as exchange commands: the value, the set parts of the cell format, the
// formula text, and each unit text once before the first command that names it.
#include <bit>
#include <cstring>
#include <memory>

#include "formats/lt_strings.h"
#include "io/text_payload.h"
#include "ostrel/cells/cell.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/io/rw_exchange.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"

namespace {

// The data word, refused when it would name another unit text than the format's: it keeps
// the index in one byte.
uint32_t DataWordOf(const CCNumberFormat& format) {
    if (format.getType() == C_NF_NUMBER && format.getLTString() > 0xFF)
        throw CArchiveException(CArchiveException::generic);
    return format.GetData();
}

}  // namespace

void CCRWExchange::WriteText(uint16_t code, const void* head, size_t headBytes,
                             std::u16string_view text, bool wide) {
    m_payload.resize(headBytes);
    if (headBytes) std::memcpy(m_payload.data(), head, headBytes);
    ostrel::io::AppendTerminatedText(m_payload, text, wide);
    WriteCommand(code, m_payload.data(), m_payload.size());
}

void CCRWExchange::WriteLTStringOf(const CCNumberFormat& format) {
    if (format.getType() == C_NF_NUMBER && format.getLTString() != 0)
        WriteLTString(int(format.getLTString()) - 1);
}

void CCRWExchange::WriteLTString(int index) {
    if (index < 0 || index > kMaxLTStringIndex) throw CArchiveException(CArchiveException::generic);
    const size_t at = size_t(index);
    if (at < m_ltMap.size() && m_ltMap[at]) return;
    if (at >= m_ltMap.size()) m_ltMap.resize(at + 1, 0);
    uint8_t head[4];
    ostrel::io::PutLE(head, uint32_t(index));
    const bool wide = !WriteInAnsi();
    WriteText(wide ? RW_LT_STRING_W : RW_LT_STRING_A, head, sizeof head, GetLTString(index), wide);
    // Marked once written: a text refused as too long is not taken for written.
    m_ltMap[at] = 1;
}

bool CCRWExchange::WriteValue(const CCCellValue& value) {
    switch (value.GetType()) {
        case CV_EMPTY:
            WriteCommand(RW_EMPTY, nullptr, 0);
            return true;
        case CV_ERROR: {
            if (value.GetError() < 0 || value.GetError() > 0xFF)
                throw CArchiveException(CArchiveException::generic);
            const uint8_t code = uint8_t(value.GetError());
            WriteCommand(RW_ERROR, &code, 1);
            return true;
        }
        case CV_TEXT: {
            if (!value.GetText()) {
                WriteCommand(RW_EMPTY, nullptr, 0);
                return true;
            }
            const bool wide = !WriteInAnsi();
            const std::u16string_view text(value.GetText());
            const size_t kept =
                ostrel::io::CutBetweenCharacters(text, wide ? kMaxTextW : kMaxTextA);
            WriteText(wide ? RW_TEXT_W : RW_TEXT_A, nullptr, 0, text.substr(0, kept), wide);
            return kept == text.size();
        }
        case CV_NUMBER: {
            const CCNumberFormat& format = value.GetFormat();
            if (!format.getLTStringMode()) WriteLTStringOf(format);
            uint8_t payload[12];
            ostrel::io::PutLE(payload, std::bit_cast<uint64_t>(value.GetNumber()));
            ostrel::io::PutLE(payload + 8, DataWordOf(format));
            WriteCommand(RW_NUMBER, payload, sizeof payload);
            return true;
        }
        default:
            // A reference is no content of its own: the formula that made it makes it again.
            return true;
    }
}

void CCRWExchange::WriteFormat(const CCCellFormat& format) {
    auto writeByte = [&](uint16_t code, int value) {
        const uint8_t byte = uint8_t(value);
        WriteCommand(code, &byte, 1);
    };
    if (format.IsNumberFormat()) {
        const CCNumberFormat& number = format.GetNFmt();
        if (!number.getLTStringMode()) WriteLTStringOf(number);
        uint8_t word[4];
        ostrel::io::PutLE(word, DataWordOf(number));
        WriteCommand(RW_NUMBER_FORMAT, word, sizeof word);
    }
    if (format.IsNFType()) writeByte(RW_NF_TYPE, format.GetNFType());
    if (format.IsNFPrecision()) writeByte(RW_NF_PRECISION, format.GetNFPrecision());
    if (format.IsNFCommas()) writeByte(RW_NF_COMMAS, format.GetNFCommas() != 0);
    if (format.IsLock()) writeByte(RW_LOCK, format.GetLock() != 0);
    if (format.IsHide()) writeByte(RW_HIDE, format.GetHide() != 0);
    if (format.IsEditSource()) writeByte(RW_EDIT_SOURCE, format.GetEditSource() != 0);
    if (format.IsHideError()) writeByte(RW_HIDE_ERROR, format.GetHideError() != 0);
    if (format.IsHideZero()) writeByte(RW_HIDE_ZERO, format.GetHideZero() != 0);
    if (format.IsNumberFormat() && format.GetNFmt().isCustomFormat())
        WriteText(RW_CUSTOM_FORMAT, nullptr, 0, format.GetNFmt().getFormatString(), true);
}

void CCRWExchange::WriteFormulaW(char16_t type, std::u16string_view text) {
    uint8_t head[2];
    ostrel::io::PutLE(head, uint16_t(type));
    WriteText(RW_FORMULA_W, head, sizeof head, text, true);
}

void CCRWExchange::WriteFormulaA(char16_t type, std::u16string_view text) {
    const std::string typeByte = ostrel::WideToCodePage(std::u16string_view(&type, 1));
    WriteText(RW_FORMULA_A, typeByte.data(), 1, text, false);
}

void CCRWExchange::WriteProtection(std::u16string_view password) {
    const bool wide = !WriteInAnsi();
    WriteText(wide ? RW_PASSWORD_W : RW_PASSWORD_A, nullptr, 0, password, wide);
}

void CCRWExchange::WriteManager(CCCellManager* manager) {
    if (manager && manager->IsProtected()) WriteProtection(manager->GetPassword());
}

bool CCRWExchange::FormulaTextOf(CCCell& cell, char16_t& type, std::u16string& text) {
    if (!cell.IsFormulaLink()) return false;
    cells::CTX* ctx = m_manager ? m_manager->GetCTX() : nullptr;
    // The type of a live formula is the cell's; a formula still packed carries its own.
    type = cell.GetFormulaType();
    if (type == 0 && cell.GetPackedFormula()) type = cell.GetPackedFormula()[4];
    const CCFormula* formula = cell.LoadFormula(ctx);
    if (!formula) return false;
    CWideOutStream out;
    formula->Print(ctx, out, 0);
    text = out.take();
    return true;
}

bool CCRWExchange::WriteCell(CCCell* cell) {
    if (!cell) return true;
    const bool whole = WriteValue(cell->GetValue());
    WriteFormat(cell->getCFmt());
    char16_t type = 0;
    std::u16string text;
    if (FormulaTextOf(*cell, type, text)) {
        if (WriteInAnsi())
            WriteFormulaA(type, text);
        else
            WriteFormulaW(type, text);
    }
    return whole;
}
