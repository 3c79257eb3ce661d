// SPDX-License-Identifier: Apache-2.0
/// \file
/// The records of the previous spreadsheet generation ("15" records): cell values,
/// coordinates, references, formulas, cells and number formats, read from and written to an
/// archive in their fixed little-endian layouts. Texts are 8-bit code-page strings of at most
/// 254 bytes. CCQXW15Convert turns them into engine objects and back.
///
/// Reading is safe on any bytes: formulas and coordinates nest at most kMaxDepth deep, and
/// every count is checked against the bytes left before anything is read for it; a bad
/// record raises the archive's bad-format exception and frees what was read of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/export.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform

class OSTREL_API CCQXW15Exchange {
public:
    /// A String16: absent (written as the byte 0xFF) or up to kMaxString16 bytes.
    using String16 = std::optional<std::string>;
    /// The longest text a String16 carries: its length is one byte, and 0xFF means absent.
    static constexpr size_t kMaxString16 = 254;
    /// The deepest nesting of formula and coordinate records a reader accepts.
    static constexpr int kMaxDepth = 256;

    /// Refuses a text longer than kMaxString16 with the archive's generic exception before
    /// anything is written: a length byte that wrapped would misalign every later record.
    static void WriteString16(ostrel::platform::CArchive& ar, const String16& text);
    static String16 ReadString16(ostrel::platform::CArchive& ar);

    /// Value types of CCQXW15_CellValue.
    enum : uint8_t {
        kValueError = 0,
        kValueText = 1,
        kValueNumber = 2,
        kValuePlaceholder = 3,
        kValueCurrency = 5,
        kValueTime = 6,
        kValueDate = 7,
        kValuePercent = 8,
        kValueScientific = 9,
        kValueFraction = 10,
    };

    class OSTREL_API CCQXW15_CellValue {
    public:
        void Read(ostrel::platform::CArchive& ar);
        void Write(ostrel::platform::CArchive& ar) const;
        uint8_t m_type = kValuePlaceholder;
        uint8_t m_code = 0;  // type 0
        String16 m_text;     // type 1
        double m_number = 0;
        uint16_t m_decimals = 0;
    };

    // ---- coordinates (tags 1 to 4) ----

    class OSTREL_API CCQXW15_Coords {
    public:
        CCQXW15_Coords() = default;
        CCQXW15_Coords(const CCQXW15_Coords&) = delete;
        CCQXW15_Coords& operator=(const CCQXW15_Coords&) = delete;
        virtual ~CCQXW15_Coords() = default;
        /// The body after the tag; Release is called first.
        virtual void Read(ostrel::platform::CArchive& ar) = 0;
        virtual void Write(ostrel::platform::CArchive& ar) const = 0;
        virtual int GetType() const = 0;
        virtual void Release() {}
    };

    class OSTREL_API CCQXW15_CoordsRC : public CCQXW15_Coords {
    public:
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 1; }
        /// Legacy counting: from 1 when absolute, an offset from the origin when relative.
        int16_t m_column = 0;
        int16_t m_row = 0;
        uint16_t m_absColumn = 0;
        uint16_t m_absRow = 0;
    };

    class OSTREL_API CCQXW15_CoordsRegion : public CCQXW15_Coords {
    public:
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 2; }
        CCQXW15_CoordsRC m_first;
        CCQXW15_CoordsRC m_second;
    };

    class OSTREL_API CCQXW15_CoordsName : public CCQXW15_Coords {
    public:
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 3; }
        void Release() override { m_name.reset(); }
        String16 m_name;
    };

    /// The meanings of the kind byte and the two texts are the old program's; they are
    /// carried, not interpreted.
    class OSTREL_API CCQXW15_FileRef {
    public:
        void Read(ostrel::platform::CArchive& ar);
        void Write(ostrel::platform::CArchive& ar) const;
        uint8_t m_kind = 0;
        String16 m_first;
        String16 m_second;
    };

    class CCQXW15_Formula;

    class OSTREL_API CCQXW15_QueryCondition {
    public:
        CCQXW15_QueryCondition() = default;
        CCQXW15_QueryCondition(const CCQXW15_QueryCondition&) = delete;
        CCQXW15_QueryCondition& operator=(const CCQXW15_QueryCondition&) = delete;
        CCQXW15_QueryCondition(CCQXW15_QueryCondition&& other) noexcept;
        CCQXW15_QueryCondition& operator=(CCQXW15_QueryCondition&& other) noexcept;
        ~CCQXW15_QueryCondition();
        void Read(ostrel::platform::CArchive& ar);
        void Write(ostrel::platform::CArchive& ar) const;
        String16 m_field;
        uint8_t m_operator = 0;
        CCQXW15_Formula* m_formula = nullptr;  // owned, may be null
        uint16_t m_word = 0;                   // a u32 in the stream
        CCQXW15_CellValue m_value;
    };

    class OSTREL_API CCQXW15_QuerySortKey {
    public:
        void Read(ostrel::platform::CArchive& ar);
        void Write(ostrel::platform::CArchive& ar) const;
        uint8_t m_order = 0;
        String16 m_field;
    };

    class OSTREL_API CCQXW15_CoordsQuery : public CCQXW15_Coords {
    public:
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 4; }
        void Release() override;
        CCQXW15_FileRef m_file;
        std::vector<String16> m_fields;
        std::vector<CCQXW15_QueryCondition> m_conditions;
        std::vector<CCQXW15_QuerySortKey> m_sortKeys;
    };

    /// The tag, then the body; a null record is tag 0. ReadCoords returns a new record owned
    /// by the caller, or null for tag 0 and for a tag it does not know.
    static void WriteCoords(ostrel::platform::CArchive& ar, const CCQXW15_Coords* coords);
    static CCQXW15_Coords* ReadCoords(ostrel::platform::CArchive& ar);

    // ---- references (tags 1 and 2) ----

    /// A plain reference: coordinates in this document.
    class OSTREL_API CCQXW15_Ref {
    public:
        CCQXW15_Ref() = default;
        CCQXW15_Ref(const CCQXW15_Ref&) = delete;
        CCQXW15_Ref& operator=(const CCQXW15_Ref&) = delete;
        /// Takes ownership of coords.
        explicit CCQXW15_Ref(CCQXW15_Coords* coords) : m_coords(coords) {}
        virtual ~CCQXW15_Ref();
        virtual void Read(ostrel::platform::CArchive& ar);
        virtual void Write(ostrel::platform::CArchive& ar) const;
        virtual int GetType() const { return 1; }
        CCQXW15_Coords* m_coords = nullptr;  // owned, may be null
    };

    /// Coordinates in another file.
    class OSTREL_API CCQXW15_RemoteRef : public CCQXW15_Ref {
    public:
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 2; }
        CCQXW15_FileRef m_file;
    };

    static void WriteRef(ostrel::platform::CArchive& ar, const CCQXW15_Ref* ref);
    static CCQXW15_Ref* ReadRef(ostrel::platform::CArchive& ar);

    /// A singly linked list of references, each node owning its reference (which may be
    /// null) and the rest of the list; null is the empty list.
    struct OSTREL_API SCQXW15_RefList {
        CCQXW15_Ref* m_pRef = nullptr;
        SCQXW15_RefList* m_pNext = nullptr;
    };
    static size_t GetRefListLen(const SCQXW15_RefList* list);
    static void FreeRefList(SCQXW15_RefList* list);
    /// Appends ref (owned by the list from then on) at the tail.
    static void RefListAddLast(SCQXW15_RefList*& list, CCQXW15_Ref* ref);
    /// A u32 count, then each reference tagged. ReadRefList returns a new list.
    static void WriteRefList(ostrel::platform::CArchive& ar, const SCQXW15_RefList* list);
    static SCQXW15_RefList* ReadRefList(ostrel::platform::CArchive& ar);

    // ---- formulas (tags 1 to 3) ----

    class OSTREL_API CCQXW15_Formula {
    public:
        CCQXW15_Formula() = default;
        CCQXW15_Formula(const CCQXW15_Formula&) = delete;
        CCQXW15_Formula& operator=(const CCQXW15_Formula&) = delete;
        virtual ~CCQXW15_Formula() = default;
        virtual void Read(ostrel::platform::CArchive& ar) = 0;
        virtual void Write(ostrel::platform::CArchive& ar) const = 0;
        virtual int GetType() const = 0;
        virtual void Release() {}
    };

    /// A singly linked argument list, each node owning its formula and the rest.
    struct OSTREL_API SCQXW15_FormulaList {
        CCQXW15_Formula* m_pFormula = nullptr;
        SCQXW15_FormulaList* m_pNext = nullptr;
    };
    static void FreeFormulaList(SCQXW15_FormulaList* list);

    class OSTREL_API CCQXW15_FormulaOp : public CCQXW15_Formula {
    public:
        ~CCQXW15_FormulaOp() override;
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 1; }
        void Release() override;
        size_t GetNumArgs() const;
        /// Appends an argument (owned from then on); arguments keep their order.
        void AddArg(CCQXW15_Formula* formula);
        String16 m_name;
        SCQXW15_FormulaList* m_args = nullptr;  // owned

    private:
        SCQXW15_FormulaList* m_last = nullptr;  // the tail of m_args, for appending
    };

    class OSTREL_API CCQXW15_FormulaConst : public CCQXW15_Formula {
    public:
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 2; }
        void Release() override { m_value = CCQXW15_CellValue(); }
        CCQXW15_CellValue m_value;
    };

    class OSTREL_API CCQXW15_FormulaRef : public CCQXW15_Formula {
    public:
        ~CCQXW15_FormulaRef() override;
        void Read(ostrel::platform::CArchive& ar) override;
        void Write(ostrel::platform::CArchive& ar) const override;
        int GetType() const override { return 3; }
        void Release() override;
        CCQXW15_Ref* m_ref = nullptr;  // owned, may be null
    };

    static void WriteFormula(ostrel::platform::CArchive& ar, const CCQXW15_Formula* formula);
    static CCQXW15_Formula* ReadFormula(ostrel::platform::CArchive& ar);

    // ---- cells and number formats ----

    class OSTREL_API CCQXW15_Cell {
    public:
        CCQXW15_Cell() = default;
        CCQXW15_Cell(const CCQXW15_Cell&) = delete;
        CCQXW15_Cell& operator=(const CCQXW15_Cell&) = delete;
        ~CCQXW15_Cell() { Release(); }
        /// What was read before is freed first; a failed read leaves the record empty.
        void Read(ostrel::platform::CArchive& ar);
        void Write(ostrel::platform::CArchive& ar) const;
        void Release();
        CCQXW15_Coords* m_position = nullptr;  // owned
        CCQXW15_CellValue m_value;
        CCQXW15_Formula* m_formula = nullptr;      // owned
        SCQXW15_RefList* m_dependents = nullptr;   // owned
        SCQXW15_RefList* m_editSources = nullptr;  // owned
    };

    /// Twenty raw bytes: eight 16-bit words, or, for the number kind, six words and an
    /// 8-byte unit text. Every byte starts as zero, so one format always writes the same
    /// bytes.
    class OSTREL_API CCQXW15_NumberFormat {
    public:
        static constexpr size_t kSize = 20;
        static constexpr size_t kTextSize = 8;
        CCQXW15_NumberFormat() = default;
        void Read(ostrel::platform::CArchive& ar);
        void Write(ostrel::platform::CArchive& ar) const;
        /// Word 0 to 7 (words 6 and 7 share their bytes with the unit text).
        uint16_t GetWord(int index) const;
        void SetWord(int index, uint16_t value);
        /// The unit text: the bytes up to the first zero, at most kTextSize of them.
        std::string GetUnitText() const;
        /// Keeps at most kTextSize - 1 bytes and a terminator; the rest of the field is zero.
        void SetUnitText(std::string_view text);
        const uint8_t* Bytes() const { return m_bytes; }

    private:
        uint8_t m_bytes[kSize] = {};
    };
};
