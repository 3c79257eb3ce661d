// SPDX-License-Identifier: Apache-2.0
// References written as text: what another document sends in its requests, and what a user
// names in dialogs.
#include <memory>

#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/sheet.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/text/unicode.h"

namespace {

// The whole text as one reference of this document, or null.
std::unique_ptr<CCRef> ScanWhole(cells::CTX* ctx, std::u16string_view text) {
    std::u16string copy(text);
    const char16_t* cursor = copy.c_str();
    CCRef* ref = nullptr;
    unsigned char flags = 0;
    if (!_EatRef(ctx, cursor, ref, flags)) return nullptr;
    std::unique_ptr<CCRef> owned(ref);
    if (*cursor != 0) return nullptr;
    return owned;
}

}  // namespace

int CCCellManager::IsValidDocument(std::u16string_view name) const {
    std::u16string own;
    GetDocumentName(own);
    if (!own.empty() && ostrel::text::SameIgnoringCase(name, own)) return 1;
    std::u16string path;
    if (!const_cast<CCCellManager*>(this)->GetDocumentFileName(path) || path.empty()) return 0;
    size_t slash = path.find_last_of(u"/\\:");
    std::u16string file = slash == std::u16string::npos ? path : path.substr(slash + 1);
    if (ostrel::text::SameIgnoringCase(name, file)) return 1;
    size_t dot = file.find_last_of(u'.');
    return dot != std::u16string::npos && ostrel::text::SameIgnoringCase(name, file.substr(0, dot))
               ? 1
               : 0;
}

int CCCellManager::IsValidReference(std::u16string_view text) {
    std::unique_ptr<CCRef> ref = ScanWhole(GetCTX(), text);
    return ref && IsValidRef(ref.get()) ? 1 : 0;
}

CCRef* CCCellManager::TranslateToInternalRef(const CCRemoteRef* ref) const {
    if (!ref) return nullptr;
    return ScanWhole(GetCTX(), ref->GetItem()).release();
}

int CCCellManager::IsValidRemoteRef(const CCRemoteRef* ref, unsigned long request) {
    if (!ref) return 0;
    const std::u16string& document = ref->GetDocument();
    if (ref->IsSheetLink() && IsValidSheetName(document)) {
        CCWorkbook* book = GetWorkbook();
        CCSheet* sheet = book ? book->GetSheet(document) : nullptr;
        return sheet && sheet->IsValidReference(ref->GetItem()) ? 1 : 0;
    }
    if (!IsValidDocument(document)) return 0;
    // Request 3 names no cell: it asks for the document's data sources.
    if (request != 3 && !IsValidReference(ref->GetItem())) return 0;
    return 1;
}
