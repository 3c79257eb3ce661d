// SPDX-License-Identifier: Apache-2.0
/// \file
/// The exchange stream: cell contents (value, number and cell format, formula text,
/// protection password, unit texts) as self-describing tagged commands, so that cells move
/// between documents and program versions whatever the binary form of formula trees. A host
/// derives from CCRWExchange to add commands of its own (codes 21 to 23 and from 25 up),
/// such as a cell position that makes a cell current before that cell's contents are read.
///
/// Writing: construct with the file version; Begin; SetCellManager; WriteManager once;
/// for each cell the host's position command, then WriteCell; End.
/// Reading: construct; Begin; SetCellManager; Read, which runs until the host's OnCommand
/// calls Stop; End. A malformed command raises the archive's bad-format exception; the
/// cells read before it keep what they were given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/export.h"
#include "ostrel/io/rw_base.h"

class CCCell;
class CCCellFormat;
class CCCellManager;
class CCCellValue;
class CCNumberFormat;

/// Command codes of the exchange stream.
enum : uint16_t {
    RW_FORMULA_A = 1,       ///< u8 formula type ("F" or "C"), 8-bit formula text
    RW_EMPTY = 2,           ///< value: empty
    RW_ERROR = 3,           ///< value: u8 error code
    RW_TEXT_A = 4,          ///< value: 8-bit text
    RW_NUMBER = 5,          ///< value: f64 and u32 number-format data word
    RW_NUMBER_FORMAT = 6,   ///< u32 data word: the cell's number format
    RW_NF_TYPE = 7,         ///< u8: the cell format's number-format kind
    RW_NF_PRECISION = 8,    ///< u8
    RW_NF_COMMAS = 9,       ///< u8
    RW_LOCK = 10,           ///< u8
    RW_HIDE = 11,           ///< u8
    RW_EDIT_SOURCE = 12,    ///< u8
    RW_PASSWORD_A = 13,     ///< 8-bit text: the manager's protection password
    RW_LT_STRING_A = 14,    ///< i32 stream index, 8-bit unit text
    RW_HIDE_ERROR = 15,     ///< u8
    RW_HIDE_ZERO = 16,      ///< u8
    RW_TEXT_W = 17,         ///< value: UTF-16 text
    RW_FORMULA_W = 18,      ///< u16 formula type, UTF-16 formula text
    RW_LT_STRING_W = 19,    ///< i32 stream index, UTF-16 unit text
    RW_PASSWORD_W = 20,     ///< UTF-16 text
    RW_CUSTOM_FORMAT = 24,  ///< UTF-16 format code: the cell's number format becomes custom
};

class OSTREL_API CCRWExchange : public CCRWBase {
public:
    /// The longest texts one command holds, in UTF-16 units (8-bit form: bytes), the
    /// terminating zero left out.
    static constexpr size_t kMaxTextW = (kMaxPayload - 2) / 2;
    static constexpr size_t kMaxTextA = kMaxPayload - 1;
    static constexpr size_t kMaxFormulaW = (kMaxPayload - 4) / 2;
    static constexpr size_t kMaxFormulaA = kMaxPayload - 2;
    /// A data word names a unit text by one byte (index + 1): texts past this index of the
    /// module's list cannot be carried.
    static constexpr int kMaxLTStringIndex = 254;

    explicit CCRWExchange(int fileVersion);
    ~CCRWExchange() override;

    void Begin(ostrel::platform::CArchive* ar) override;
    void Read() override;
    void End() override;
    /// The commands of the table above; a malformed payload raises the archive's
    /// bad-format exception. Codes 21 to 23 and above 24 are left to a subclass.
    void OnCommand(uint16_t code, const uint8_t* data, size_t length) override;

    virtual CCCell* GetCurCell() { return m_curCell; }
    virtual CCCellManager* GetCellManager() { return m_manager; }
    /// The current cell's format and value; null without a current cell.
    virtual const CCCellFormat* GetCurFormat();
    virtual const CCCellValue* GetCurValue();

    void SetCellManager(CCCellManager* manager) { m_manager = manager; }
    void SetCurCell(CCCell* cell) { m_curCell = cell; }

    /// The password of a protected manager; nothing for an unprotected one.
    void WriteManager(CCCellManager* manager);
    /// The cell's value, the set parts of its format, and its formula printed with the
    /// manager's context; nothing for a null cell. False when a text value was longer than
    /// one command holds: its first kMaxTextW units (kMaxTextA bytes in the 8-bit form) were
    /// written, cut between characters. A formula text, password, unit text or format code
    /// that does not fit is refused with the archive's generic exception.
    bool WriteCell(CCCell* cell);

protected:
    /// Writes nothing for a reference value; false when a text was cut (see WriteCell).
    bool WriteValue(const CCCellValue& value);
    void WriteFormat(const CCCellFormat& format);
    void WriteFormulaW(char16_t type, std::u16string_view text);
    void WriteFormulaA(char16_t type, std::u16string_view text);
    void WriteProtection(std::u16string_view password);
    /// Unit text index of the module's list, written once between Begin and End; an index
    /// outside the list writes the empty text, one past kMaxLTStringIndex is refused.
    void WriteLTString(int index);
    /// The unit text a number format carries, once, before the command that names it.
    void WriteLTStringOf(const CCNumberFormat& format);
    /// The cell's formula printed with the manager's context, and its type ("F", or "C"
    /// for a circular one); false for a cell without formula.
    bool FormulaTextOf(CCCell& cell, char16_t& type, std::u16string& text);
    void InitInternationalSettings() {}
    void RestoreInternationalSettings() {}

private:
    /// A data word with its unit-text index mapped from the stream's numbering to the
    /// module's.
    void ApplyDataWord(uint32_t word, CCNumberFormat& format) const;
    void ReadUnitText(const uint8_t* data, size_t length, bool wide);
    void ReadFormula(const uint8_t* data, size_t length, bool wide);
    void ReadFormatCommand(uint16_t code, const uint8_t* data, size_t length);
    void StoreValue(const CCCellValue& value);
    void WriteText(uint16_t code, const void* head, size_t headBytes, std::u16string_view text,
                   bool wide);
    void ClearState();

    /// Reading: entry i is the module's index of the stream's unit text i. Writing: entry i
    /// is 1 once the module's text i has been written.
    std::vector<int32_t> m_ltMap;
    CCCell* m_curCell = nullptr;
    CCCellManager* m_manager = nullptr;
    std::vector<uint8_t> m_payload;  // the command being written
};
