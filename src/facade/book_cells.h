// SPDX-License-Identifier: Apache-2.0
// The cells of a workbook file: the exchange stream in its UTF-16 form, with the file's own
// commands around the engine's. A sheet command starts a sheet's cells, a cell command makes
// the cell at a position current, an end command closes the stream. Texts longer than one
// command holds go as pieces before their command; a number that displays through a custom
// format code has the code before it, which the data word cannot carry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/io/rw_exchange.h"

namespace ostrel::host {

enum : uint16_t {
    kBookSheet = 21,        // u8 sheet index, increasing
    kBookCell = 22,         // u8 column, u16 row, increasing by row and then column
    kBookEnd = 23,          // no payload; the last command
    kBookTextPiece = 25,    // UTF-16 units, no terminator: the start of the next command's text
    kBookValueFormat = 26,  // UTF-16 format code and terminator: for the number that follows
};

class BookCellWriter : public CCRWExchange {
public:
    BookCellWriter() : CCRWExchange(RW_VERSION_WIDE) {}
    // Every cell of the sheet that holds a value, a formula or a format, by position.
    void WriteSheet(uint8_t index, HostSheet& sheet);
    void WriteEnd() { WriteCommand(kBookEnd, nullptr, 0); }
    // The cell being written, for a message when writing fails.
    const HostCell* GetCell() const { return m_cell; }

private:
    void WriteBookCell(HostCell& cell);
    // Writes all but the last room units of text as pieces; returns the rest.
    std::u16string_view WritePieces(std::u16string_view text, size_t room);

    const HostCell* m_cell = nullptr;
};

class BookCellReader : public CCRWExchange {
public:
    // sheets[i] receives the cells of sheet command i.
    explicit BookCellReader(std::vector<HostSheet*> sheets);
    void OnCommand(uint16_t code, const uint8_t* data, size_t length) override;
    bool Ended() const { return m_ended; }
    // Formulas whose values the file does not hold, or that read what no dependency names:
    // started once every cell is in place, so that every formula reading them follows.
    const std::vector<std::pair<HostSheet*, HostCell*>>& ToStart() const { return m_toStart; }
    // Where reading is, for a message when the stream is damaged.
    const HostSheet* GetSheet() const { return m_sheet; }
    const HostCell* GetCell() const { return m_cell; }

private:
    void StartSheet(const uint8_t* data, size_t length);
    void StartCell(const uint8_t* data, size_t length);
    void ReadValueWithCode(const uint8_t* data, size_t length);
    // always: the formula's form promises no value (the 8-bit one).
    void NoteFormula(bool always);

    std::vector<HostSheet*> m_sheets;
    HostSheet* m_sheet = nullptr;
    HostCell* m_cell = nullptr;
    int m_sheetIndex = -1;
    int64_t m_lastPosition = -1;  // row << 8 | column of the last cell of the sheet
    bool m_valueRead = false;
    bool m_ended = false;
    std::vector<uint8_t> m_pieces;  // text pieces waiting for their command
    std::optional<std::u16string> m_valueCode;
    std::vector<uint8_t> m_joined;
    std::vector<std::pair<HostSheet*, HostCell*>> m_toStart;
};

}  // namespace ostrel::host
