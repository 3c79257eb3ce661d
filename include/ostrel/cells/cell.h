// SPDX-License-Identifier: Apache-2.0
/// \file
/// The engine's cell: an item with a cell format (an index into the process-wide cell format
/// table), a cached value, and optionally a formula. The host derives its cell class from
/// CCCell and supplies GetRef (the cell's own reference) and IsEqual.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/cells/item.h"
#include "ostrel/export.h"
#include "ostrel/formats/cell_format.h"

class CCFormula;
class CCRefList;
namespace ostrel::platform {
class CWideOutStream;
}  // namespace ostrel::platform

/// What Find and Replace look for, and how.
class OSTREL_API CCFindData {
public:
    std::u16string m_find;     // the text to find; an empty one finds nothing
    std::u16string m_replace;  // what Replace puts in its place
    int m_matchCase = 0;
    int m_wholeWord = 0;
    int m_mode = 0;           // 0 values, 1 formulas, 2 both
    int m_formulaValues = 0;  // the value search also looks at formula cells
};

/// Formula type characters.
constexpr char16_t CELL_FORMULA = u'F';
constexpr char16_t CELL_CIRCULAR = u'C';

class OSTREL_API CCCell : public CCItem {
public:
    CCCell();
    CCCell(const CCCell& other);
    CCCell& operator=(const CCCell& other);
    ~CCCell() override;

    CCCell* AsCell() override { return this; }
    int IsFormulaLink() const override {
        return m_formula && (m_formula->live || !m_formula->packed.empty());
    }
    int IsEmpty() const override;
    void Recalc(cells::CTX* ctx) override;
    int IsHidden(cells::CTX*) const override { return getCFmt().IsHidden(); }
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Delete(cells::CTX* ctx) override;
    /// The formula's relative references follow the cell (all of them, or none when one
    /// would leave the grid), then the item moves as CCItem::Move does.
    void Move(cells::CTX* ctx, const CCRef* newRef, CCItem* other) override;

    /// Typing into the cell: a constant, a text or a formula.
    virtual void SetText(cells::CTX* ctx, std::u16string_view text, int quiet);
    /// The display text; empty for a hidden cell of a protected document, a hidden error or a
    /// hidden zero.
    virtual void GetValueText(cells::CTX* ctx, ostrel::platform::CWideOutStream& out);
    /// The number the cell shows through the general format, when it shows one that way (a
    /// whole one then shows as its digits). False for any other value or format, and for a
    /// cell or zero kept hidden.
    bool ShowsGeneralNumber(cells::CTX* ctx, double& number) const;
    /// The buffer forms take the buffer's size in bytes, copy at most size / 2 - 1
    /// characters and terminate them; a buffer too small for the terminator is not touched.
    virtual void GetValueText(cells::CTX* ctx, char16_t* buffer, int size);
    /// The formula as typed ("= " and the formula), or the value at full precision.
    virtual void GetFormulaText(cells::CTX* ctx, ostrel::platform::CWideOutStream& out);
    virtual void GetFormulaText(cells::CTX* ctx, char16_t* buffer, int size);
    virtual int Find(cells::CTX* ctx, const CCFindData& data);
    virtual int Replace(cells::CTX* ctx, const CCFindData& data);
    virtual int IsValueText(cells::CTX*) { return !m_value.IsEmpty(); }
    virtual int IsFormulaText(cells::CTX*) { return IsFormulaLink() || !m_value.IsEmpty(); }
    virtual void GetValue(CCCellValue& value) const { value.Set(m_value); }
    /// The reference an edit-source cell hands its values on to; null for other cells.
    virtual const CCRef* GetEditSourceRef(cells::CTX* ctx);
    /// Makes the cell an edit source of ref: a formula that is just the reference.
    virtual int SetEditSource(cells::CTX* ctx, const CCRef* ref, unsigned char flags);
    /// Stores a copy of the formula, registers it, computes it and checks it for cycles
    /// (error 5 and message 13033 unless quiet). Returns 0 when its registration was refused:
    /// the formula is then dropped and its text becomes the value.
    virtual int SetFormula(cells::CTX* ctx, const CCFormula* formula, bool quiet);
    /// As SetFormula without the cycle test; the given tree itself is registered.
    virtual int SetFormula1(cells::CTX* ctx, CCFormula* formula);
    virtual void SetValue(cells::CTX* ctx, const CCCellValue& value);
    virtual void SetFormat(cells::CTX* ctx, const CCCellFormat& format);
    /// what: 1 value, 2 formula, 4 format.
    virtual void Clear(cells::CTX* ctx, int what);
    virtual void InvalidateRef(cells::CTX* ctx, const CCRef* ref);
    virtual void InvalidateItem(cells::CTX* ctx, const CCItem* item);
    virtual void UpdateFormula(cells::CTX* ctx, const CCRef* oldRef, const CCRef* newRef, int flag);
    virtual void OnChange(cells::CTX* ctx);
    virtual void UpdateNumberFormat(cells::CTX* ctx);
    virtual void OnValueChanged(cells::CTX*) {}
    virtual int IsValidFormula() const;
    virtual int IsLocked(cells::CTX*) const { return getCFmt().IsLocked(); }
    virtual int IsEditSource(cells::CTX*) const { return getCFmt().IsEditSource(); }
    virtual int IsErrorHidden(cells::CTX*) const { return getCFmt().IsErrorHidden(); }
    virtual int IsZeroHidden(cells::CTX*) const { return getCFmt().IsZeroHidden(); }

    const CCCellValue& GetValue() const { return m_value; }
    bool IsValueNumber() const { return m_value.IsNumber(); }
    bool IsValueText() const { return m_value.IsText(); }
    bool IsValueError() const { return m_value.IsError(); }
    bool IsValueEmpty() const { return m_value.IsEmpty(); }
    /// 0 without a live formula, else CELL_CIRCULAR or CELL_FORMULA.
    char16_t GetFormulaType() const;
    void GetFormat(CCCellFormat& format) const { format = getCFmt(); }
    /// The cell's entry of the process-wide table (entry 0 for an index out of range).
    const CCCellFormat& getCFmt() const;
    /// Interns the format and keeps its index.
    void putCFmt(const CCCellFormat& format);
    int GetFormatIndex() const { return m_formatIndex; }
    void DoSetFormat(cells::CTX* ctx, const CCCellFormat& format);
    void SetFormulaCirc(int n);
    int GetFormulaCirc() const { return m_circular; }
    /// The packed formula block (u32 length, type byte, formula stream), or null.
    const uint8_t* GetPackedFormula() const {
        return m_formula && !m_formula->packed.empty() ? m_formula->packed.data() : nullptr;
    }
    void RemoveFormula(cells::CTX* ctx);
    /// The live formula, read from the packed block when needed (the block stays); null
    /// without a formula.
    CCFormula* LoadFormula(cells::CTX* ctx);
    /// A copy of the formula (owned by the caller) and its type character.
    void LoadFormula(cells::CTX* ctx, CCFormula*& formula, char16_t& type);
    /// Keeps a copy of formula (or the formula itself when the cell already holds it) as the
    /// live formula and packs it anew with the type; null removes the formula block.
    void SaveFormula(cells::CTX* ctx, const CCFormula* formula, char16_t type);
    /// Writes the packed formula field of the cell's stream form.
    void SerializeFormula(cells::CTX* ctx, ostrel::platform::CArchive& ar);
    int RegisterFormula(cells::CTX* ctx);
    int UnregisterFormula(cells::CTX* ctx);
    void ValidateFormulaRef(cells::CTX* ctx, const CCRef* ref);
    bool IsHyperLink() const;
    int GetHyperLink(cells::CTX* ctx, ostrel::platform::CString& link);
    CCRefList* GetPrecedents(cells::CTX* ctx) override;
    void ForEachPrecedent(cells::CTX* ctx, const std::function<void(const CCRef*)>& visit) override;

private:
    bool Hides(cells::CTX* ctx) const;
    /// Tells the document that the cell's value was stored, for what is derived from values.
    void NoteValueStored(cells::CTX* ctx) const;
    void SetTextValue(cells::CTX* ctx, std::u16string_view text);

    /// The cell's own reference qualified with the context's sheet, as dependents are kept.
    std::unique_ptr<CCRef> QualifiedRef(cells::CTX* ctx) const;
    /// The formula text as the value: "=" (or "!"), a blank, the printed formula.
    void FormulaAsText(cells::CTX* ctx, const CCFormula* formula);
    void PackFormula(cells::CTX* ctx, char16_t type);
    void CopyFormulaFrom(const CCCell& other);
    void TakeReplacement(cells::CTX* ctx, CCFormula* produced, int changed);
    /// Puts a tree in the live formula's place without registering it again; its sheet-prefix
    /// nodes listen to their sheets as the old tree's did.
    void SwapLive(cells::CTX* ctx, std::unique_ptr<CCFormula> tree);
    /// The live tree's sheet-prefix nodes listen to their sheets, as registering makes them,
    /// when the formula is registered (not circular); at is where the cell stands.
    void ListenToSheets(cells::CTX* ctx, const CCRef* at);

    struct FormulaData {
        /// From a pool: one per formula cell, so the heap's per-block overhead would double it.
        static void* operator new(size_t size);
        static void operator delete(void* object, size_t size) noexcept;
        std::unique_ptr<CCFormula> live;
        PackedBlock packed;  // u32 length, type byte, formula stream; or empty
    };

    int32_t m_formatIndex = 0;
    int32_t m_circular = 0;
    CCCellValue m_value;
    /// Behind a pointer so that a cell without formula pays eight bytes for it.
    std::unique_ptr<FormulaData> m_formula;
};

/// Orders two cells by their values; a null cell sorts after any other.
OSTREL_API int CompareCells(const CCCell* a, const CCCell* b, int caseSensitive);
