// SPDX-License-Identifier: Apache-2.0
// A host of the exchange stream for the tests: a position command (code 21: u8 column, u16
// row) makes a cell of the test sheet current, code 23 ends the stream.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "ostrel/io/rw_exchange.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

namespace exchange_testing {

using testing_support::TestSheet;

class PositionedExchange : public CCRWExchange {
public:
    PositionedExchange(int version, TestSheet& sheet) : CCRWExchange(version), m_sheet(sheet) {}

    void OnCommand(uint16_t code, const uint8_t* data, size_t length) override {
        if (code == 21 && length == 3) {
            SetCurCell(m_sheet.Cell(data[0], uint16_t(data[1] | data[2] << 8)));
        } else if (code == 23) {
            Stop();
        } else {
            ++passedOn;
            CCRWExchange::OnCommand(code, data, length);
        }
    }
    void WritePosition(unsigned char column, uint16_t row) {
        const uint8_t position[3] = {column, uint8_t(row), uint8_t(row >> 8)};
        WriteCommand(21, position, sizeof position);
    }
    using CCRWExchange::WriteLTString;
    int passedOn = 0;

private:
    TestSheet& m_sheet;
};

// The stream of the sheet's given cells, each after its position, and the end command.
inline std::vector<uint8_t> WriteCells(TestSheet& sheet, int version,
                                       const std::vector<std::pair<int, int>>& cells) {
    return testing_support::Store([&](CArchive& ar) {
        PositionedExchange writer(version, sheet);
        writer.Begin(&ar);
        writer.SetCellManager(&sheet);
        writer.WriteManager(&sheet);
        for (auto [column, row] : cells) {
            writer.WritePosition(uint8_t(column), uint16_t(row));
            writer.WriteCell(sheet.Cell(uint8_t(column), uint16_t(row)));
        }
        writer.WriteCommand(23, nullptr, 0);
        writer.End();
    });
}

inline void ReadCells(TestSheet& sheet, int version, const std::vector<uint8_t>& bytes) {
    testing_support::Load(bytes, [&](CArchive& ar) {
        PositionedExchange reader(version, sheet);
        reader.Begin(&ar);
        reader.SetCellManager(&sheet);
        reader.Read();
        reader.End();
    });
}

// One command: code, length, payload.
inline std::vector<uint8_t> Command(uint16_t code, std::vector<uint8_t> payload) {
    payload.insert(payload.begin(), {uint8_t(code), uint8_t(code >> 8), uint8_t(payload.size()),
                                     uint8_t(payload.size() >> 8)});
    return payload;
}

}  // namespace exchange_testing
