// SPDX-License-Identifier: Apache-2.0
#include "facade/book_cells.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "io/text_payload.h"
#include "ostrel/formula/formula.h"
#include "ostrel/platform/exceptions.h"

namespace ostrel::host {

namespace {

[[noreturn]] void Malformed() {
    throw CArchiveException(CArchiveException::badFormat);
}

void Append(std::vector<uint8_t>& to, const uint8_t* bytes, size_t count) {
    if (count == 0) return;
    const size_t at = to.size();
    to.resize(at + count);
    std::memcpy(to.data() + at, bytes, count);
}

bool HoldsSomething(const HostCell& cell) {
    return !cell.GetValue().IsEmpty() || cell.IsFormulaLink() ||
           (cell.getCFmt().GetSetMask() & 0x01FF) != 0;
}

// A value calculated from another document is what that document held when the file was
// written; the documents opened now may hold something else, or be missing.
bool ReadsOtherDocuments(const CCFormula* formula) {
    if (!formula) return false;
    if (formula->GetType() == FORMULA_REMOTE) return true;
    // A reference node answers for itself; an operation node's answer would walk the
    // arguments this walk visits anyway.
    if (formula->GetType() == FORMULA_REF) return formula->ContainsRemoteLinks();
    if (const auto* op = dynamic_cast<const CCOpFormula*>(formula))
        for (const CCFormulaList* arg = op->GetArgs(); arg; arg = arg->m_pNext)
            if (ReadsOtherDocuments(arg->m_pFormula)) return true;
    return false;
}

}  // namespace

// ---- writing ----

void BookCellWriter::WriteSheet(uint8_t index, HostSheet& sheet) {
    SetCellManager(&sheet);
    WriteCommand(kBookSheet, &index, 1);
    std::vector<HostCell*> cells;
    sheet.ForEachCell([&](HostCell& cell) {
        if (HoldsSomething(cell)) cells.push_back(&cell);
    });
    std::sort(cells.begin(), cells.end(), [](const HostCell* a, const HostCell* b) {
        return a->Row() != b->Row() ? a->Row() < b->Row() : a->Column() < b->Column();
    });
    for (HostCell* cell : cells)
        WriteBookCell(*cell);
    m_cell = nullptr;
}

std::u16string_view BookCellWriter::WritePieces(std::u16string_view text, size_t room) {
    std::vector<uint8_t> piece;
    while (text.size() > room) {
        const size_t take = std::min(text.size() - room, kMaxPayload / 2);
        piece.resize(2 * take);
        for (size_t i = 0; i < take; ++i) {
            piece[2 * i] = uint8_t(text[i]);
            piece[2 * i + 1] = uint8_t(text[i] >> 8);
        }
        WriteCommand(kBookTextPiece, piece.data(), piece.size());
        text.remove_prefix(take);
    }
    return text;
}

void BookCellWriter::WriteBookCell(HostCell& cell) {
    m_cell = &cell;
    const uint8_t position[3] = {uint8_t(cell.Column()), uint8_t(cell.Row()),
                                 uint8_t(cell.Row() >> 8)};
    WriteCommand(kBookCell, position, sizeof position);

    const CCCellValue& value = cell.GetValue();
    if (value.IsText() && value.GetText() &&
        std::u16string_view(value.GetText()).size() > kMaxTextW) {
        const std::u16string_view rest = WritePieces(value.GetText(), kMaxTextW);
        WriteValue(CCCellValue(std::u16string(rest).c_str()));
    } else {
        if (value.IsNumber()) {
            // Leading unit texts too: the stream's own rule writes trailing ones only.
            WriteLTStringOf(value.GetFormat());
            if (value.GetFormat().isCustomFormat()) {
                std::vector<uint8_t> code;
                io::AppendTerminatedText(code, value.GetFormat().getFormatString(), true);
                WriteCommand(kBookValueFormat, code.data(), code.size());
            }
        }
        WriteValue(value);
    }
    const CCCellFormat& format = cell.getCFmt();
    if (format.IsNumberFormat()) WriteLTStringOf(format.GetNFmt());
    WriteFormat(format);

    char16_t type = 0;
    std::u16string text;
    if (FormulaTextOf(cell, type, text)) WriteFormulaW(type, WritePieces(text, kMaxFormulaW));
}

// ---- reading ----

BookCellReader::BookCellReader(std::vector<HostSheet*> sheets)
    : CCRWExchange(RW_VERSION_WIDE), m_sheets(std::move(sheets)) {}

void BookCellReader::StartSheet(const uint8_t* data, size_t length) {
    if (length != 1 || int(data[0]) <= m_sheetIndex || data[0] >= m_sheets.size()) Malformed();
    m_sheetIndex = data[0];
    m_sheet = m_sheets[data[0]];
    m_cell = nullptr;
    m_lastPosition = -1;
    SetCellManager(m_sheet);
    SetCurCell(nullptr);
}

void BookCellReader::StartCell(const uint8_t* data, size_t length) {
    if (!m_sheet || length != 3) Malformed();
    const unsigned column = data[0];
    const unsigned row = io::GetLE<uint16_t>(data + 1);
    // Each position once: a cell read twice would take contents meant for one cell.
    const int64_t position = int64_t(row) << 8 | column;
    if (position <= m_lastPosition) Malformed();
    m_lastPosition = position;
    m_cell = &m_sheet->GetCell(column, row);
    m_valueRead = false;
    SetCurCell(m_cell);
}

void BookCellReader::ReadValueWithCode(const uint8_t* data, size_t length) {
    if (length < 12) Malformed();
    CCNumberFormat format;
    format.SetData(io::GetLE<uint32_t>(data + 8));
    format.setCustomFormat(*m_valueCode);
    m_valueCode.reset();
    CCCellValue value;
    value.Set(std::bit_cast<double>(io::GetLE<uint64_t>(data)), format);
    m_cell->SetValue(m_sheet->GetCTX(), value);
    m_valueRead = true;
}

void BookCellReader::NoteFormula(bool always) {
    if (m_cell->GetFormulaType() != CELL_FORMULA) return;
    const CCFormula* formula = m_cell->LoadFormula(m_sheet->GetCTX());
    if (!formula) return;
    if (always || !m_valueRead || formula->ContainsTodayLinks() || formula->AlwaysRecalc() ||
        ReadsOtherDocuments(formula))
        m_toStart.emplace_back(m_sheet, m_cell);
}

void BookCellReader::OnCommand(uint16_t code, const uint8_t* data, size_t length) {
    const bool piecesWait = !m_pieces.empty();
    switch (code) {
        case kBookSheet:
        case kBookCell:
        case kBookEnd:
            if (piecesWait || m_valueCode) Malformed();
            if (code == kBookSheet) {
                StartSheet(data, length);
            } else if (code == kBookCell) {
                StartCell(data, length);
            } else {
                m_ended = true;
                Stop();
            }
            return;
        case kBookTextPiece:
            if (!m_cell || length % 2 != 0 || m_valueCode) Malformed();
            Append(m_pieces, data, length);
            return;
        case kBookValueFormat:
            if (!m_cell || m_valueCode || piecesWait) Malformed();
            m_valueCode = io::ReadTerminatedText(data, length, true);
            return;
        default:
            break;
    }
    // Anything else is a command of the engine's table, or the stream is not one of ours.
    if (code == 0 || code > RW_CUSTOM_FORMAT || (code > RW_PASSWORD_W && code < RW_CUSTOM_FORMAT))
        Malformed();
    if (m_valueCode) {
        if (code != RW_NUMBER) Malformed();
        ReadValueWithCode(data, length);
        return;
    }
    if (piecesWait) {
        if (code != RW_TEXT_W && code != RW_FORMULA_W) Malformed();
        // The type of a formula stands before its text.
        const size_t head = code == RW_FORMULA_W ? 2 : 0;
        if (length < head) Malformed();
        m_joined.clear();
        Append(m_joined, data, head);
        Append(m_joined, m_pieces.data(), m_pieces.size());
        Append(m_joined, data + head, length - head);
        m_pieces.clear();
        data = m_joined.data();
        length = m_joined.size();
    }
    switch (code) {
        case RW_EMPTY:
        case RW_ERROR:
        case RW_TEXT_A:
        case RW_NUMBER:
        case RW_TEXT_W:
            if (m_cell) m_valueRead = true;
            break;
        default:
            break;
    }
    CCRWExchange::OnCommand(code, data, length);
    if (m_cell && (code == RW_FORMULA_W || code == RW_FORMULA_A)) NoteFormula(code == RW_FORMULA_A);
}

}  // namespace ostrel::host
