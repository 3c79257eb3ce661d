// SPDX-License-Identifier: Apache-2.0
#include "ostrel/cells/cell.h"
#include "ostrel/engine/module.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "cells/formula_handover.h"
#include "formats/text_helpers.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formats/cell_format_table.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref.h"
#include "platform/names.h"
#include "platform/text/unicode.h"

namespace {

// Copies a text into a buffer of size bytes: at most size / 2 - 1 units, terminated.
void CopyToBuffer(const std::u16string& text, char16_t* buffer, int size) {
    if (!buffer || size < int(sizeof(char16_t))) return;
    size_t room = size_t(size) / sizeof(char16_t) - 1;
    size_t n = text.size() < room ? text.size() : room;
    std::memcpy(buffer, text.data(), n * sizeof(char16_t));
    buffer[n] = 0;
}

}  // namespace

// A copy has no document to tell: whatever it lands on is out of date.
CCCell::CCCell(const CCCell& other) : CCItem(other) {
    m_formatIndex = other.m_formatIndex;
    m_value = other.m_value;
    CopyFormulaFrom(other);
    m_circular = other.m_circular;
    ostrel::engine::ValueChanges::NoteAnywhere();
}

CCCell& CCCell::operator=(const CCCell& other) {
    if (this == &other) return *this;
    CCItem::operator=(other);
    m_formatIndex = other.m_formatIndex;
    m_value = other.m_value;
    ostrel::engine::ValueChanges::NoteAnywhere();
    CopyFormulaFrom(other);
    m_circular = other.m_circular;
    return *this;
}

const CCCellFormat& CCCell::getCFmt() const {
    return *CCCellFormatTable::CCellFormats().GetAt(m_formatIndex);
}

void CCCell::putCFmt(const CCCellFormat& format) {
    m_formatIndex = CCCellFormatTable::CCellFormats().AddExact(format);
}

int CCCell::IsEmpty() const {
    return m_value.IsEmpty() && !IsFormulaLink() && (getCFmt().GetSetMask() & 0x01FF) == 0 &&
           CCItem::IsEmpty();
}

void CCCell::NoteValueStored(cells::CTX* ctx) const {
    if (CCCellManager* manager = cells::ManagerOf(ctx))
        manager->NoteValueStored(GetRef());
    else
        ostrel::engine::ValueChanges::NoteAnywhere();
}

void CCCell::OnChange(cells::CTX* ctx) {
    if (CCCellManager* manager = cells::ManagerOf(ctx)) manager->SetDirty();
}

void CCCell::SetTextValue(cells::CTX* ctx, std::u16string_view text) {
    CCCellValue value;
    value.Set(text);
    SetValue(ctx, value);
}

void CCCell::SetText(cells::CTX* ctx, std::u16string_view text, int quiet) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager || RefuseUnlessStarted()) return;
    if (manager->IsProtected() && IsLocked(ctx)) {
        manager->ErrorMessage(13036);
        return;
    }
    CManagerSession session(manager);
    // The parser reads a terminated text. A short one, as most typed texts are, is copied
    // onto the stack rather than into an allocation.
    constexpr size_t kShort = 64;
    char16_t shortCopy[kShort];
    std::u16string longCopy;
    std::u16string_view typed;
    if (text.size() < kShort) {
        std::copy(text.begin(), text.end(), shortCopy);
        shortCopy[text.size()] = 0;
        typed = std::u16string_view(shortCopy, text.size());
    } else {
        longCopy.assign(text);
        typed = longCopy;
    }
    CCCellValue value;
    CCFormula* formula = nullptr;
    int result = _Parse(ctx, typed.data(), value, formula, GetRef());
    if (result == 1) {
        if (value.IsText()) {
            // The text exactly as typed, not what the scanner kept of it.
            value.Set(std::u16string_view(typed));
        } else if (value.IsNumber()) {
            int kind = value.GetFormat().GetType();
            // A plain number typed over a formatted one (currency, date, ...) keeps the
            // cell's display.
            if (kind <= C_NF_NUMBER && m_value.IsNumber() &&
                m_value.GetFormat().GetType() > C_NF_NUMBER)
                value.Set(value.GetNumber(), m_value.GetFormat());
            else if (kind == C_NF_CURRENCY && value.GetFormat().GetPrecision() != 0) {
                cells::LCTX* lctx = ctx->GetLCTX() ? ctx->GetLCTX() : cells::invariant_LCTX();
                value.GetFormat().SetPrecision(lctx->lctx->currencyPrecision());
            }
        }
        SetValue(ctx, value);
        return;
    }
    if (result == 3) {
        CCCellFormat editSource;
        editSource.SetEditSource(1);
        DoSetFormat(ctx, editSource);
    }
    if (formula) {
        std::unique_ptr<CCFormula> tree(formula);
        ostrel::cells_detail::FormulaHandover handover(tree);
        SetFormula(ctx, tree.get(), quiet != 0);
        return;
    }
    // The text did not parse: it stays the typed text.
    SetTextValue(ctx, typed);
    if (!quiet) manager->ErrorMessage(MatchBrackets(typed.data()) ? 13042 : 13034);
}

void CCCell::SetValue(cells::CTX* ctx, const CCCellValue& value) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    {
        CManagerSession session(manager);
        // An edit-source cell hands the value on to the cell its formula names.
        CCFormula* formula = IsEditSource(ctx) ? LoadFormula(ctx) : nullptr;
        if (formula && formula->IsEditSourceRef(ctx, GetRef())) {
            if (manager) manager->SetSourceValue(GetRef(), &value);
            OnValueChanged(ctx);
            return;
        }
        RemoveFormula(ctx);
        // Texts are compared unit by unit: any change of a character is a change.
        bool same = m_value.GetType() == value.GetType() && m_value.IsEqual(value);
        if (same && value.IsText()) {
            const char16_t* a = m_value.GetText();
            const char16_t* b = value.GetText();
            same = (!a && !b) || (a && b && std::u16string_view(a) == std::u16string_view(b));
        }
        if (!same) {
            m_value.Set(value);
            NoteValueStored(ctx);
            UpdateNumberFormat(ctx);
            OnChange(ctx);
            if (manager) manager->InitIdleRecalc(this, 0);
        }
    }
    OnValueChanged(ctx);
}

void CCCell::UpdateNumberFormat(cells::CTX*) {
    if (!m_value.IsNumber()) return;
    const CCCellFormat& format = getCFmt();
    if (format.IsNumberFormat()) {
        m_value.Set(format.GetNFmt());
        return;
    }
    CCNumberFormat& nf = m_value.GetFormat();
    if (format.IsNFType()) nf.SetType(format.GetNFType());
    if (format.IsNFPrecision()) nf.SetPrecision(format.GetNFPrecision());
    if (format.IsNFCommas()) nf.SetCommas(format.GetNFCommas());
    if ((format.IsNFPrecision() || format.IsNFCommas()) && nf.GetType() == C_NF_GENERAL)
        nf.SetType(C_NF_NUMBER);
}

void CCCell::DoSetFormat(cells::CTX* ctx, const CCCellFormat& format) {
    CCCellFormat merged = getCFmt();
    merged.Merge(format);
    putCFmt(merged);
    UpdateNumberFormat(ctx);
}

void CCCell::SetFormat(cells::CTX* ctx, const CCCellFormat& format) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (manager && manager->IsProtected() && IsLocked(ctx)) {
        manager->ErrorMessage(13036);
        return;
    }
    CCCellValue before = m_value;
    DoSetFormat(ctx, format);
    OnChange(ctx);
    if (m_value.IsNumber() && (format.GetSetMask() & 0x000F) && !before.IsEqual(m_value) && manager)
        manager->InitIdleRecalc(this, 0);
}

void CCCell::Clear(cells::CTX* ctx, int what) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (manager && manager->IsProtected() && IsLocked(ctx)) {
        manager->ErrorMessage(13036);
        return;
    }
    // An edit-source cell clears the cell it edits instead. Edit sources can form a cycle;
    // a cell met again while its own clear is running stops the walk.
    if (IsEditSource(ctx)) {
        if (const CCRef* source = GetEditSourceRef(ctx)) {
            static thread_local std::vector<const CCCell*> clearing;
            if (std::find(clearing.begin(), clearing.end(), this) != clearing.end()) return;
            clearing.push_back(this);
            std::unique_ptr<CCRef> target(source->Copy());
            if (manager) manager->ClearCell(target.get(), what);
            clearing.pop_back();
            if (target->GetType() == REF_TYPE_REMOTE) SetValue(ctx, CCCellValue());
            if (!m_value.IsEmpty()) OnChange(ctx);
            return;
        }
    }
    const uint16_t maskBefore = getCFmt().GetSetMask();
    bool valueCleared = false, formatReset = false;
    // The value of a formula cell stays: only a cell without formula loses it (asked
    // before the formula itself may go).
    const bool hadFormula = IsFormulaLink();
    if (what & 2) RemoveFormula(ctx);
    if ((what & 1) && !m_value.IsEmpty() && !hadFormula) {
        m_value.Set();
        NoteValueStored(ctx);
        valueCleared = true;
    }
    if (what & 4) {
        if (m_value.IsNumber()) {
            formatReset = m_value.GetFormat().GetType() != C_NF_GENERAL;
            m_value.Set(CCNumberFormat());
        }
        if (manager && manager->IsProtected() && getCFmt().IsHidden()) {
            CCCellFormat hidden;
            hidden.SetHide(1);
            putCFmt(hidden);
        } else {
            m_formatIndex = 0;
        }
    }
    if (valueCleared || formatReset) {
        OnChange(ctx);
        if (manager) manager->InitIdleRecalc(this, 0);
        OnValueChanged(ctx);
    } else if (getCFmt().GetSetMask() != maskBefore) {
        OnChange(ctx);
    }
}

bool CCCell::Hides(cells::CTX* ctx) const {
    CCCellManager* manager = cells::ManagerOf(ctx);
    return manager && manager->IsProtected() && getCFmt().IsHidden();
}

bool CCCell::ShowsGeneralNumber(cells::CTX* ctx, double& number) const {
    if (!m_value.IsNumber()) return false;
    const CCNumberFormat& format = m_value.GetFormat();
    if (format.GetType() != C_NF_GENERAL || format.isCustomFormat() || Hides(ctx)) return false;
    number = m_value.GetNumber();
    return number != 0.0 || !IsZeroHidden(ctx);
}

void CCCell::GetValueText(cells::CTX* ctx, CWideOutStream& out) {
    if (Hides(ctx)) return;
    if (m_value.IsError() && IsErrorHidden(ctx)) return;
    if (m_value.IsNumber() && m_value.GetNumber() == 0.0 && IsZeroHidden(ctx)) return;
    m_value.Print(ctx, out, 0);
}

void CCCell::GetValueText(cells::CTX* ctx, char16_t* buffer, int size) {
    CWideOutStream out;
    GetValueText(ctx, out);
    CopyToBuffer(out.str(), buffer, size);
}

void CCCell::GetFormulaText(cells::CTX* ctx, CWideOutStream& out) {
    if (Hides(ctx)) {
        out << u'0';
        return;
    }
    if (CCFormula* formula = LoadFormula(ctx)) {
        out << (IsEditSource(ctx) ? u'!' : u'=') << u' ';
        formula->Print(ctx, out, 0);
        return;
    }
    m_value.Print(ctx, out, 1);
}

void CCCell::GetFormulaText(cells::CTX* ctx, char16_t* buffer, int size) {
    CWideOutStream out;
    GetFormulaText(ctx, out);
    CopyToBuffer(out.str(), buffer, size);
}

namespace {

// The next occurrence of pattern in text at or after from, honouring whole words against
// the whole text (not only from the starting point); npos when none.
size_t FindText(const std::u16string& text, size_t from, const std::u16string& pattern,
                int matchCase, int wholeWord) {
    while (from <= text.size()) {
        const char16_t* hit = StrStrW(text.c_str() + from, pattern.c_str(), matchCase, 0);
        if (!hit) return std::u16string::npos;
        size_t at = size_t(hit - text.c_str());
        if (!wholeWord) return at;
        bool before = at > 0 && ostrel::text::IsAlnum(text[at - 1]);
        size_t end = at + pattern.size();
        bool after = end < text.size() && ostrel::text::IsAlnum(text[end]);
        if (!before && !after) return at;
        from = at + 1;
    }
    return std::u16string::npos;
}

}  // namespace

int CCCell::Find(cells::CTX* ctx, const CCFindData& data) {
    if (data.m_find.empty()) return 0;
    if (Hides(ctx)) return 0;
    if (m_value.IsError() && IsErrorHidden(ctx)) return 0;
    if (m_value.IsNumber() && m_value.GetNumber() == 0.0 && IsZeroHidden(ctx)) return 0;
    auto search = [&](bool formula) {
        CWideOutStream out;
        if (formula)
            GetFormulaText(ctx, out);
        else
            GetValueText(ctx, out);
        return FindText(out.str(), 0, data.m_find, data.m_matchCase, data.m_wholeWord) !=
               std::u16string::npos;
    };
    bool hasFormula = IsFormulaLink();
    switch (data.m_mode) {
        case 0:
            return (!hasFormula || data.m_formulaValues) && search(false);
        case 1:
            return hasFormula && search(true);
        case 2:
            if ((!hasFormula || data.m_formulaValues) && search(false)) return 1;
            return hasFormula && search(true);
        default:
            return 0;
    }
}

int CCCell::Replace(cells::CTX* ctx, const CCFindData& data) {
    if (data.m_find.empty()) return 0;
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (manager && manager->IsProtected() && (getCFmt().IsHidden() || IsLocked(ctx))) return 0;
    if (m_value.IsError() && IsErrorHidden(ctx)) return 0;
    if (m_value.IsNumber() && m_value.GetNumber() == 0.0 && IsZeroHidden(ctx)) return 0;
    bool hasFormula = IsFormulaLink();
    CWideOutStream source;
    switch (data.m_mode) {
        case 0:
            if (hasFormula) return 0;
            GetValueText(ctx, source);
            break;
        case 1:
            if (!hasFormula) return 0;
            GetFormulaText(ctx, source);
            break;
        case 2:
            if (hasFormula)
                GetFormulaText(ctx, source);
            else
                GetValueText(ctx, source);
            break;
        default:
            return 0;
    }
    const std::u16string& text = source.str();
    std::u16string result;
    size_t pos = 0;
    bool replaced = false;
    for (;;) {
        size_t at = FindText(text, pos, data.m_find, data.m_matchCase, data.m_wholeWord);
        if (at == std::u16string::npos) break;
        result.append(text, pos, at - pos);
        result += data.m_replace;
        pos = at + data.m_find.size();
        replaced = true;
    }
    if (!replaced) return 0;
    result.append(text, pos, std::u16string::npos);
    SetText(ctx, result, 0);
    return 1;
}

void CCCell::Delete(cells::CTX* ctx) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (manager && manager->IsProtected() && IsLocked(ctx)) {
        manager->ErrorMessage(13036);
        return;
    }
    CManagerSession session(manager);
    RemoveFormula(ctx);
    if (manager) manager->SetDirty();
    NoteValueStored(ctx);
    CCItem::Delete(ctx);
}

void CCCell::Write(cells::CTX* ctx, CArchive& ar) {
    getCFmt().Write(ar);
    m_value.Write(ctx, ar);
    SerializeFormula(ctx, ar);
    CCItem::Write(ctx, ar);
}

void CCCell::Read(cells::CTX* ctx, CArchive& ar) {
    CCCellFormat format = getCFmt();
    format.Read(ar);
    CCCellValue value;
    value.Read(ctx, ar);
    uint32_t length;
    ar >> length;
    std::unique_ptr<FormulaData> formula;
    if (length != 0) {
        // The length comes from the file: the type byte and the formula must be there.
        ar.RequireBytes(uint64_t(length) + 1);
        formula = std::make_unique<FormulaData>();
        formula->packed.resize(size_t(length) + 5);
        for (int i = 0; i < 4; ++i)
            formula->packed[size_t(i)] = uint8_t(length >> (8 * i));
        ar.ReadExact(formula->packed.data() + 4, size_t(length) + 1);
    }
    CCItem::Read(ctx, ar);
    putCFmt(format);
    m_value = value;
    NoteValueStored(ctx);
    m_formula = std::move(formula);
    m_circular = m_formula && m_formula->packed[4] == CELL_CIRCULAR ? 1 : 0;
}

int CompareCells(const CCCell* a, const CCCell* b, int caseSensitive) {
    if (!a || !b) return a ? -1 : (b ? 1 : 0);
    return CompareCellValues(a->GetValue(), b->GetValue(), caseSensitive);
}
