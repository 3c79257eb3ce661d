// SPDX-License-Identifier: Apache-2.0
#include "facade/host_sheet.h"

#include <array>
#include <utility>
#include <vector>

#include "facade/host_workbook.h"
#include "formats/digit_engine.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/calc_cache.h"
#include "ostrel/engine/doc_item.h"
#include "ostrel/platform/ole_date_time.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/platform/zmk/environment.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

namespace ostrel::host {

CCCellManager* HostCtx::GetManager() {
    return m_sheet;
}

namespace {
const zmk::multilang::CLocaleInfo* LocaleNamed(const std::string& name) {
    auto& cache = zmk::globals::global_environment().locales_cache();
    const zmk::multilang::CLocaleInfo* info = cache.get(name);
    return info ? info : cache.invariant();
}
}  // namespace

HostSheet::HostSheet(const std::string& localeName, std::u16string name)
    : m_name(std::move(name)),
      m_nameRef(m_name.c_str()),
      m_locale(std::make_unique<zmk::multilang::CLegacyLocaleContext>(LocaleNamed(localeName))),
      m_lctx{m_locale.get()},
      m_ctx(this, &m_lctx) {}

HostSheet::~HostSheet() {
    ReleaseContents();
}

CCItem* HostSheet::LookupItem(const CCRef* ref) {
    if (!ref) return nullptr;
    switch (ref->GetType()) {
        case REF_TYPE_RC: {
            const auto* rc = static_cast<const CCRCRef*>(ref);
            return m_cells.Find(rc->GetColumn(), rc->GetRow());
        }
        case REF_TYPE_REGION:
            return m_ranges.Find(*static_cast<const CCRegionRef*>(ref));
        case REF_TYPE_DOCUMENT:
            // A document property's item, with the formulas that read the property.
            return GetDocumentItem(static_cast<const CCDocumentRef*>(ref)->GetDocRefType());
        case REF_TYPE_3D: {
            const auto* r3 = static_cast<const CCRef3D*>(ref);
            CCCellManager* sheet = r3->GetFirstSheetManager(GetCTX());
            if (sheet && sheet != this) return sheet->LookupItem(r3->GetInnerRef());
            return LookupItem(r3->GetInnerRef());
        }
        default:
            return nullptr;
    }
}

CCItem* HostSheet::EnsureItem(const CCRef* ref) {
    if (ref && ref->GetType() == REF_TYPE_RC) {
        const auto* rc = static_cast<const CCRCRef*>(ref);
        return m_cells.Get(rc->GetColumn(), rc->GetRow());
    }
    if (ref && ref->GetType() == REF_TYPE_REGION)
        return m_ranges.Get(*static_cast<const CCRegionRef*>(ref));
    return nullptr;
}

CCRefList* HostSheet::LoadDependencies(const CCRef* ref) {
    CCRefList* list = CCCellManager::LoadDependencies(ref);
    const HostSheet* owner = this;
    const CCRef* cell = ref;
    if (cell && cell->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(cell);
        CCCellManager* sheet = r3->GetFirstSheetManager(GetCTX());
        // A cell of another sheet is held by that sheet's ranges.
        if (sheet && sheet != this) {
            owner = dynamic_cast<const HostSheet*>(sheet);
            if (!owner) return list;
        }
        cell = r3->GetInnerRef();
    }
    if (!cell || cell->GetType() != REF_TYPE_RC || owner->m_ranges.Size() == 0) return list;
    const auto* rc = static_cast<const CCRCRef*>(cell);
    // Appended after the cell's own dependents, each range's most recent first. They are
    // loaded with this sheet's context, as the cell's own are, so that both name sheets
    // alike.
    CCRefList** tail = &list;
    while (*tail)
        tail = &(*tail)->m_pNext;
    owner->m_ranges.ForEachContaining(rc->GetColumn(), rc->GetRow(), [&](RangeItem* item) {
        CCRefList* deps = item->LoadDependents(GetCTX());
        *tail = deps;
        while (*tail)
            tail = &(*tail)->m_pNext;
    });
    return list;
}

// A cell's own dependents are visited without a list being made of them: the workbook's
// order walks them for every change.
void HostSheet::ForEachDependentGroup(const CCRef* ref,
                                      const std::function<void(const CCRef*)>& visit) {
    if (!ref) return;
    if (ref->GetType() == REF_TYPE_3D) {
        // A cell of another sheet brings that sheet's ranges: the list LoadDependencies makes.
        CCCellManager::ForEachDependentGroup(ref, visit);
        return;
    }
    if (ref->GetType() != REF_TYPE_RC) {
        // A range (or any other item) has its own dependents alone, walked without a list.
        if (CCItem* item = LookupItem(ref)) item->ForEachDependent(GetCTX(), visit);
        return;
    }
    // Only cells of this sheet: a range of another sheet is keyed by that sheet. The ranges
    // are found before anything is visited, which may make new ones; the few most cells lie
    // in are kept on the stack, since every cell typed is walked from several times.
    constexpr size_t kInline = 16;
    std::array<const CCRef*, kInline> near;
    size_t nearCount = 0;
    std::vector<const CCRef*> more;
    const auto* rc = static_cast<const CCRCRef*>(ref);
    m_ranges.ForEachContaining(rc->GetColumn(), rc->GetRow(), [&](RangeItem* item) {
        if (!item->HasDependents()) return;
        if (nearCount < kInline)
            near[nearCount++] = item->GetRef();
        else
            more.push_back(item->GetRef());
    });
    if (CCItem* item = LookupItem(ref)) item->ForEachDependent(GetCTX(), visit);
    for (size_t i = 0; i < nearCount; ++i)
        visit(near[i]);
    for (const CCRef* range : more)
        visit(range);
}

bool HostSheet::MayBeRead(const CCRef* ref) {
    if (!ref || ref->GetType() != REF_TYPE_RC) return true;
    const auto* rc = static_cast<const CCRCRef*>(ref);
    if (const HostCell* cell = m_cells.Find(rc->GetColumn(), rc->GetRow());
        cell && cell->HasDependents())
        return true;
    return m_ranges.Size() &&
           m_ranges.AnyContaining(rc->GetColumn(), rc->GetRow(),
                                  [](const RangeItem* item) { return item->HasDependents(); });
}

// Numbers typed one after another into a column under formulas summing all of it would
// otherwise list every one of those formulas for every number: the list, untouched since,
// already holds them, and a range's dependents only grow at their most recent end until one
// is removed (which a new version tells).
CCItem* HostSheet::ProcessDependents(const CCRef* ref, CCRecalcList& list) {
    CCItem* item =
        ref && ref->GetType() == REF_TYPE_RC && m_ranges.Size() ? LookupItem(ref) : nullptr;
    if (!item) return CCCellManager::ProcessDependents(ref, list);
    auto add = [&](const CCRef* dependent) { list.AddLastOnce(dependent); };
    item->ForEachDependent(GetCTX(), add);
    const auto* rc = static_cast<const CCRCRef*>(ref);
    m_ranges.ForEachContaining(rc->GetColumn(), rc->GetRow(), [&](RangeItem* range) {
        size_t count = 0;
        const uint64_t version = range->DependentsVersion(GetCTX(), count);
        const size_t held = list.HeldCount(version);
        if (held > 0 && held <= count)
            range->ForEachNewestDependent(GetCTX(), count - held, add);
        else
            range->ForEachDependent(GetCTX(), add);
        list.NoteHeld(version, count);
    });
    return item;
}

int HostSheet::SetCellText(const CCRef* ref, std::u16string_view text) {
    EnsureItem(ref);
    return CCCellManager::SetCellText(ref, text);
}

int HostSheet::SetValue(const CCRef* ref, const CCCellValue* value) {
    EnsureItem(ref);
    return CCCellManager::SetValue(ref, value);
}

int HostSheet::RegisterDependent(const CCRef* precedent, const CCRef* dependent) {
    if (precedent && precedent->GetType() == REF_TYPE_REGION) {
        // A range read again after a time when nothing read it: cells placed in the
        // calculation order meanwhile did not count it among what reads them, so its old
        // place may stand before some of them. It is placed anew.
        const RangeItem* item = m_ranges.Find(*static_cast<const CCRegionRef*>(precedent));
        CCWorkbook* book = item && !item->HasDependents() ? GetWorkbook() : nullptr;
        if (book) book->GetCalcCache().Remove(CCCalcCache::MakeKey(this, precedent).get());
    }
    // Every reference of every formula typed comes here: the item is made and found in one
    // step.
    if (CCItem* item = EnsureItem(precedent)) return item->RegisterDependent(GetCTX(), dependent);
    return CCCellManager::RegisterDependent(precedent, dependent);
}

int HostSheet::IsValidRef(const CCRef* ref) {
    if (!ref) return 0;
    switch (ref->GetType()) {
        case REF_TYPE_REGION:
            return static_cast<const CCRegionRef*>(ref)->IsNormal();
        case REF_TYPE_RC:
            return 1;  // every position of the grid, filled or not
        case REF_TYPE_NAME:
            return m_book && GetNameIndex(static_cast<const CCNameRef*>(ref)) != 0 ? 1 : 0;
        default:
            return CCCellManager::IsValidRef(ref);
    }
}

void HostSheet::GetRefSize(const CCRef* ref, long& width, long& height) {
    if (ref && ref->GetType() == REF_TYPE_REGION) {
        const auto* r = static_cast<const CCRegionRef*>(ref);
        width = r->GetWidth();
        height = r->GetHeight();
        return;
    }
    width = height = 1;
}

int HostSheet::GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) {
    // An empty position reads as empty.
    auto readAt = [&](unsigned column, unsigned row) {
        const HostCell* cell = m_cells.Find(column, row);
        if (!value) return;
        if (cell)
            cell->GetValue(*value);
        else
            value->Set();
    };
    if (ref && ref->GetType() == REF_TYPE_REGION) {
        // A range serves its values row by row.
        unsigned column, row;
        if (!static_cast<const CCRegionRef*>(ref)->CellAt(index, column, row)) return 0;
        readAt(column, row);
        return 1;
    }
    if (index == 0 && ref && ref->GetType() == REF_TYPE_RC) {
        // Every formula reading a cell comes here: one lookup, not a second in the base.
        const auto* rc = static_cast<const CCRCRef*>(ref);
        readAt(rc->GetColumn(), rc->GetRow());
        return 1;
    }
    return CCCellManager::GetValue(ref, value, index);
}

bool HostSheet::ReadValues(const CCRef* ref, unsigned long first, unsigned long count,
                           CCCellValue* values) {
    if (!ref || ref->GetType() != REF_TYPE_REGION) return false;
    const auto* region = static_cast<const CCRegionRef*>(ref);
    unsigned column, row, lastColumn, lastRow;
    if (!region->CellAt(first + count - 1, lastColumn, lastRow) ||
        !region->CellAt(first, column, row))
        return false;
    const unsigned left = region->GetFirstColumn();
    const unsigned long width = static_cast<unsigned long>(region->GetWidth());
    for (unsigned long i = 0; i < count; ++i) {
        if (HostCell* cell = m_cells.Find(column, row))
            cell->GetValue(values[i]);
        else
            values[i].Set();
        if (++column == left + width) column = left, ++row;
    }
    return true;
}

int HostSheet::SetCellText(unsigned column, unsigned row, std::u16string_view text) {
    // The cell is made and found in one step: every cell of a file typed comes here.
    return SetItemText(m_cells.Get(column, row), text);
}

std::u16string HostSheet::GetCellValueText(unsigned column, unsigned row) const {
    std::u16string text;
    GetCellValueText(column, row, text);
    return text;
}

void HostSheet::GetCellValueText(unsigned column, unsigned row, std::u16string& text) const {
    // Straight from the store, without a reference to look up: every value a host shows
    // comes this way.
    GetItemValueText(m_cells.Find(column, row), text);
}

bool HostSheet::GetCellValueAscii(unsigned column, unsigned row, std::string& text) const {
    const HostCell* cell = m_cells.Find(column, row);
    double number;
    if (!cell || !cell->ShowsGeneralNumber(GetCTX(), number)) return false;
    char digits[digits::kWholeDigitsRoom];
    const char* end = digits::WholeDigits(number, digits);
    if (!end) return false;
    text.assign(digits, size_t(end - digits));
    return true;
}

std::u16string HostSheet::GetCellFormula(unsigned column, unsigned row) {
    std::u16string text;
    CCRCRef ref(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
    CCCellManager::GetCellFormula(&ref, text);
    return text;
}

void HostSheet::RecalculateAll() {
    while (DoIdle(1)) {
    }
}

}  // namespace ostrel::host

namespace ostrel::host {

uint16_t HostSheet::GetNameIndex(std::u16string_view name) {
    if (!m_book) return CCCellManager::GetNameIndex(name);
    return m_book->IndexOf(name);
}

uint16_t HostSheet::GetNameIndex(const CCNameRef* name) {
    if (!m_book) return CCCellManager::GetNameIndex(name);
    return name && name->GetName() ? m_book->IndexOf(name->GetName()) : 0;
}

CCCellManager* HostSheet::GetManForNameIndex(uint16_t index) {
    return m_book ? m_book->SheetAt(index) : nullptr;
}

void HostSheet::SetName(std::u16string name) {
    m_name = std::move(name);
    m_nameRef.SetName(m_name.c_str());
}

CCWorkbook* HostSheet::GetWorkbook() {
    return m_book;
}

// The protocol hands an unregistration to DoTransport with the dependent's reference, a cell
// of this document; the registration it removes is held by the document of ref.
int HostSheet::DoRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) {
    const CCRemoteRef* outer = std::exchange(m_unregisteringFrom, ref);
    const int result = CCCellManager::DoRemoteUnRegisterDependent(ref, dependent);
    m_unregisteringFrom = outer;
    return result;
}

int HostSheet::DoTransport(const CCRemoteRef* ref, CFile* file) {
    if (!m_book || !ref) return CCCellManager::DoTransport(ref, file);
    if (m_unregisteringFrom) ref = std::exchange(m_unregisteringFrom, nullptr);
    if (!ref->IsSheetLink()) return m_book->Carry(ref, file);
    HostSheet* sheet = m_book->SheetAt(m_book->IndexOf(CCRemoteRef::SheetName(ref->GetDocument())));
    // Sheets that name each other as dependents (a sheet link registered on a cell it
    // recalculates) would hand requests back and forth without end: as between documents,
    // past a depth nothing is delivered. The depth is far above what chains of sheets
    // reading sheets need, every sheet of a workbook at most once a chain.
    constexpr int kMostSheetLinks = 256;
    thread_local int depth = 0;
    if (!sheet || depth >= kMostSheetLinks) return 0;
    struct Level {
        Level() { ++depth; }
        ~Level() { --depth; }
    } level;
    return sheet->OnTransport(file);
}

int HostSheet::IsRemoteDocumentOpen(const char16_t* documentName) {
    DocumentHub* documents = m_book ? m_book->Documents() : nullptr;
    return documents && documentName && documents->Find(documentName) ? 1 : 0;
}

void HostSheet::GetDocumentName(std::u16string& name) const {
    name = m_book && !m_book->DocumentName().empty() ? m_book->DocumentName() : m_name;
}

CCRemoteRef* HostSheet::TranslateToRemoteRef(const CCRef* ref) {
    if (!ref) return nullptr;
    const HostSheet* owner = this;
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(ref);
        owner = dynamic_cast<const HostSheet*>(r3->GetFirstSheetManager(GetCTX()));
        ref = r3->GetInnerRef();
        if (!owner || !ref) return nullptr;
    }
    std::u16string document;
    GetDocumentName(document);
    CWideOutStream item;
    if (m_book) item << owner->m_name << u'!';
    ref->Print(GetCTX(), item, 0);
    return new CCRemoteRef(document, item.str());
}

template <class T, class Reader>
int HostSheet::Property(CCDocumentRef::ECDocRefType item, T& out, Reader read) {
    if (!m_book) return 0;
    return read(m_book->Properties(), item, out) ? 1 : 0;
}

namespace {

bool ReadText(const DocumentProperties& p, CCDocumentRef::ECDocRefType item, std::u16string& out) {
    std::optional<std::u16string> value = p.Text(item);
    if (value) out = std::move(*value);
    return value.has_value();
}

bool ReadCount(const DocumentProperties& p, CCDocumentRef::ECDocRefType item, unsigned long& out) {
    std::optional<double> value = p.Number(item);
    if (value) out = static_cast<unsigned long>(*value);
    return value.has_value();
}

bool ReadNumber(const DocumentProperties& p, CCDocumentRef::ECDocRefType item, double& out) {
    std::optional<double> value = p.Number(item);
    if (value) out = *value;
    return value.has_value();
}

bool ReadDate(const DocumentProperties& p, CCDocumentRef::ECDocRefType item, COleDateTime& out) {
    std::optional<DocumentProperties::DateTime> d = p.Date(item);
    if (d) out = COleDateTime(d->year, d->month, d->day, d->hour, d->minute, d->second);
    return d.has_value();
}

// Minutes as an automation date counted from its zero: whole days and the time of day.
bool ReadSpan(const DocumentProperties& p, CCDocumentRef::ECDocRefType item, COleDateTime& out) {
    std::optional<double> minutes = p.Number(item);
    if (minutes) out = COleDateTime(*minutes / 1440.0);
    return minutes.has_value();
}

}  // namespace

int HostSheet::GetDocumentTitle(std::u16string& out) {
    return Property(CCDocumentRef::DOC_TITLE, out, ReadText);
}
int HostSheet::GetDocumentSubject(std::u16string& out) {
    return Property(CCDocumentRef::DOC_SUBJECT, out, ReadText);
}
int HostSheet::GetDocumentAuthor(std::u16string& out) {
    return Property(CCDocumentRef::DOC_AUTHOR, out, ReadText);
}
int HostSheet::GetDocumentKeywords(std::u16string& out) {
    return Property(CCDocumentRef::DOC_KEYWORDS, out, ReadText);
}
int HostSheet::GetDocumentComments(std::u16string& out) {
    return Property(CCDocumentRef::DOC_COMMENTS, out, ReadText);
}
int HostSheet::GetDocumentFileName(std::u16string& out) {
    return Property(CCDocumentRef::DOC_FILENAME, out, ReadText);
}
int HostSheet::GetDocumentNumWords(unsigned long& out) {
    return Property(CCDocumentRef::DOC_NUMWORDS, out, ReadCount);
}
int HostSheet::GetDocumentNumPages(unsigned long& out) {
    return Property(CCDocumentRef::DOC_NUMPAGES, out, ReadCount);
}
int HostSheet::GetDocumentNumChars(unsigned long& out) {
    return Property(CCDocumentRef::DOC_NUMCHARS, out, ReadCount);
}
int HostSheet::GetDocumentRevNum(unsigned long& out) {
    return Property(CCDocumentRef::DOC_REVNUM, out, ReadCount);
}
int HostSheet::GetDocumentFileSize(double& out) {
    return Property(CCDocumentRef::DOC_FILESIZE, out, ReadNumber);
}
int HostSheet::GetDocumentSaveDate(COleDateTime& out) {
    return Property(CCDocumentRef::DOC_SAVEDATE, out, ReadDate);
}
int HostSheet::GetDocumentPrintDate(COleDateTime& out) {
    return Property(CCDocumentRef::DOC_PRINTDATE, out, ReadDate);
}
int HostSheet::GetDocumentEditTime(COleDateTime& out) {
    return Property(CCDocumentRef::DOC_EDITTIME, out, ReadSpan);
}
int HostSheet::GetDocumentCreateDate(COleDateTime& out) {
    return Property(CCDocumentRef::DOC_CREATEDATE, out, ReadDate);
}

void HostSheet::OnUpdateIdleRecalc() {
    if (m_book) m_book->ReportProgress();
}

}  // namespace ostrel::host
