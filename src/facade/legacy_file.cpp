// SPDX-License-Identifier: Apache-2.0
#include "facade/legacy_file.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "facade/book_layout.h"
#include "ostrel/formats/cell_format.h"
#include "ostrel/io/qxw15_convert.h"
#include "ostrel/io/qxw15_exchange.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"

namespace ostrel::host {

namespace {

using X = CCQXW15Exchange;

// Flags of a cell's trailer.
constexpr uint8_t kFormatOfCell = 1;  // the cell's format fixes its number format
// The engine's packed number format: kind, flag bytes A and B, slot, set mask.
constexpr size_t kPackedFormat = 7;
// The fewest bytes a cell takes: position tag, a one-byte value, formula tag, two empty
// lists, then the trailer (flags, packed format, number format record).
constexpr uint64_t kLeastCell =
    1 + 6 + 1 + 4 + 4 + 1 + kPackedFormat + X::CCQXW15_NumberFormat::kSize;
const std::string kDamaged = "the file ends early: it is cut short or damaged";

// A cell as the file holds it: the record, the flags, the engine's packed number format
// and the old program's record of it.
struct CellEntry {
    X::CCQXW15_Cell record;
    uint8_t flags = 0;
    uint8_t packed[kPackedFormat] = {};
    X::CCQXW15_NumberFormat format;
};

// What the old record cannot say of a format (the general and boolean kinds, a fraction's
// denominators, any delimiter) goes beside it in the engine's packed form. A unit text is
// an index into this process's list: the record carries its text instead.
void PackFormat(const CCNumberFormat& format, uint8_t* packed) {
    format.FillBuff(packed);
    if (format.getType() == C_NF_NUMBER) packed[3] = packed[4] = 0;
    packed[5] = uint8_t(format.getSetMask());
    packed[6] = uint8_t(format.getSetMask() >> 8);
}

CCNumberFormat UnpackFormat(CCQXW15Convert& convert, const CellEntry& entry) {
    CCNumberFormat format;
    convert.ConvertTo95(entry.format, format);
    uint8_t packed[kPackedFormat];
    std::copy(entry.packed, entry.packed + kPackedFormat, packed);
    if (packed[0] == C_NF_NUMBER) {
        packed[3] = uint8_t(format.getLTString());
        packed[4] = uint8_t(format.getLTString() >> 8);
    }
    format.ReadBuff(packed);
    format.setSetMask(uint16_t(packed[5] | packed[6] << 8));
    return format;
}

void Note(size_t& count, std::u16string& first, const HostCell& cell) {
    if (count++ == 0) first = CellAddress(int(cell.Column()), int(cell.Row()));
}

}  // namespace

bool HasLegacyMagic(std::string_view bytes) {
    return bytes.substr(0, kLegacyMagic.size()) == kLegacyMagic;
}

bool WriteLegacy(HostWorkbook& book, std::string& bytes, LegacySaveReport& report,
                 std::string& error) {
    report = LegacySaveReport();
    if (book.SheetCount() != 1) {
        error = "a legacy exchange file holds one sheet; the workbook has " +
                std::to_string(book.SheetCount());
        return false;
    }
    book.RecalculateAll();
    HostSheet& sheet = *book.SheetAt(1);
    std::vector<HostCell*> cells;
    sheet.ForEachCell([&](HostCell& cell) {
        if (!cell.IsValueEmpty() || cell.IsFormulaLink()) cells.push_back(&cell);
    });
    std::sort(cells.begin(), cells.end(), [](const HostCell* a, const HostCell* b) {
        return std::pair(a->Row(), a->Column()) < std::pair(b->Row(), b->Column());
    });
    std::u16string name;
    sheet.GetSheetName(name);
    std::string narrowName = WideToCodePage(name);
    if (narrowName.size() > X::kMaxString16) narrowName.resize(X::kMaxString16);

    CMemFile file(1 << 16);
    CCQXW15Convert convert(&sheet);
    try {
        CArchive ar(&file, CArchive::store);
        ar.Write(kLegacyMagic.data(), kLegacyMagic.size());
        ar << kLegacyVersion;
        X::WriteString16(ar, narrowName);
        ar << static_cast<uint32_t>(cells.size());
        for (HostCell* cell : cells) {
            X::CCQXW15_Cell record;
            const bool carried = convert.ConvertTo15(*cell, record);
            if (!record.m_position) {
                error = "cell " + ToUtf8(CellAddress(int(cell->Column()), int(cell->Row()))) +
                        " lies past row 32767, the last the legacy records hold";
                return false;
            }
            if (!carried) Note(report.formulasAsValues, report.firstFormula, *cell);
            if (record.m_value.m_type == X::kValueText && cell->GetValue().GetText() &&
                std::u16string_view(cell->GetValue().GetText()).size() > X::kMaxString16)
                Note(report.textsCut, report.firstText, *cell);
            record.Write(ar);
            const CCNumberFormat& format = cell->GetValue().GetFormat();
            X::CCQXW15_NumberFormat legacy;
            convert.ConvertTo15(format, legacy);
            const bool ofCell = cell->getCFmt().IsNumberFormat();
            uint8_t packed[kPackedFormat];
            PackFormat(format, packed);
            ar << static_cast<uint8_t>(ofCell ? kFormatOfCell : 0);
            ar.Write(packed, kPackedFormat);
            legacy.Write(ar);
        }
        ar.Flush();
    } catch (const CArchiveException&) {
        error = "a cell the legacy records cannot hold";
        return false;
    }
    bytes.assign(reinterpret_cast<const char*>(file.Data()), size_t(file.GetLength()));
    const uint32_t checksum = BookChecksum(bytes);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(checksum >> (8 * i)));
    return true;
}

std::unique_ptr<HostWorkbook> ReadLegacy(std::string_view bytes, const std::string& localeName,
                                         std::string& error) {
    if (!HasLegacyMagic(bytes)) {
        error = "not a legacy exchange file";
        return nullptr;
    }
    if (bytes.size() < kLegacyMagic.size() + 2 + 4) {
        error = kDamaged;
        return nullptr;
    }
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    uint32_t stored = 0;
    for (int i = 0; i < 4; ++i)
        stored |= uint32_t(uint8_t(bytes[body.size() + size_t(i)])) << (8 * i);
    const uint16_t version = uint16_t(uint8_t(bytes[kLegacyMagic.size()]) |
                                      uint8_t(bytes[kLegacyMagic.size() + 1]) << 8);
    if (version > kLegacyVersion) {
        error = "the file is in legacy exchange format " + std::to_string(version) +
                ", which this version cannot read (it reads format " +
                std::to_string(kLegacyVersion) + ")";
        return nullptr;
    }
    if (BookChecksum(body) != stored) {
        error = "the file is damaged: its checksum does not match its contents";
        return nullptr;
    }
    std::u16string sheetName;
    std::deque<CellEntry> entries;  // records do not move: built in place
    try {
        CMemFile file(reinterpret_cast<uint8_t*>(const_cast<char*>(body.data())), body.size());
        CArchive ar(&file, CArchive::load);
        uint8_t magic[8];
        uint16_t ignored = 0;
        ar.ReadExact(magic, sizeof magic);
        ar >> ignored;
        if (X::String16 name = X::ReadString16(ar)) sheetName = CodePageToWide(*name);
        uint32_t count = 0;
        ar >> count;
        ar.RequireBytes(uint64_t(count) * kLeastCell);
        for (uint32_t i = 0; i < count; ++i) {
            entries.emplace_back();
            CellEntry& entry = entries.back();
            entry.record.Read(ar);
            ar >> entry.flags;
            ar.ReadExact(entry.packed, kPackedFormat);
            entry.format.Read(ar);
        }
        if (ar.GetBytesLeft() != 0) throw CArchiveException(CArchiveException::badFormat);
    } catch (const CArchiveException&) {
        error = "the file's cells are damaged";
        return nullptr;
    }

    auto book = std::make_unique<HostWorkbook>(localeName);
    HostSheet* sheet = book->AddSheet(sheetName.empty() ? u"Sheet1" : sheetName);
    if (!sheet) sheet = book->AddSheet(u"Sheet1");
    if (!sheet) {
        error = "the sheet cannot be made";
        return nullptr;
    }
    CCQXW15Convert convert(sheet);
    cells::CTX* ctx = sheet->GetCTX();
    sheet->SetAutoCalc(false);
    for (const CellEntry& entry : entries) {
        unsigned char mask = 0;
        std::unique_ptr<CCRef> position(
            convert.ConvertTo95(entry.record.m_position, nullptr, mask));
        if (!position || position->GetType() != REF_TYPE_RC) {
            sheet->SetAutoCalc(true);
            error = "the file's cells are damaged: a cell without a position";
            return nullptr;
        }
        const auto& at = static_cast<const CCRCRef&>(*position);
        HostCell& cell = sheet->GetCell(at.GetColumn(), at.GetRow());
        const CCNumberFormat format = UnpackFormat(convert, entry);
        if (entry.record.m_formula || entry.record.m_editSources) {
            const std::unique_ptr<CCRef> placed(convert.ConvertTo95(entry.record, cell));
        }
        // A constant takes its value with the exact format; a value equal to the one held
        // would keep the format the record gave, so the cell is emptied first.
        if (!cell.IsFormulaLink()) {
            CCCellValue value;
            convert.ConvertTo95(entry.record.m_value, value);
            if (value.IsNumber()) value.Set(value.GetNumber(), format);
            cell.SetValue(ctx, CCCellValue());
            cell.SetValue(ctx, value);
        }
        if (entry.flags & kFormatOfCell) {
            CCCellFormat own;
            own.SetNumberFormat(format);
            cell.DoSetFormat(ctx, own);
        }
    }
    sheet->SetAutoCalc(true);
    book->RecalculateAll();
    return book;
}

}  // namespace ostrel::host
