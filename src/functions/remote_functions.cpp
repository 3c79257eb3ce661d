// SPDX-License-Identifier: Apache-2.0
// The functions that read other documents and databases. Each rebuilds its remote reference
// from its arguments and asks the cell's manager for what it names through the transport, so
// that the host alone decides which documents a formula reaches: a name nobody opened gives
// #REF!, never a file opened by a name the formula computed.
#include "functions/arguments.h"
#include "functions/function_row.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/remote_ref.h"

namespace {

using namespace ostrel::functions;

// What a request that no document answered shows: the reference leads nowhere.
constexpr int kUndelivered = 1;
// What a function shows while the host serves no document of its kind.
constexpr int kNotAvailable = 9;

// REMOTE and SSGET: a document name and the text of a reference within it. Names of the
// workbook's own sheets ("?Sheet") are formulas' business, not the transport's.
int DocumentAndItem(cells::CTX* ctx, CCRemoteRef& out, const CCFormulaList* args,
                    const CCRef* cell) {
    out.Clear();
    std::u16string document, item;
    if (int code = TextArgument(ctx, args, 0, document, cell)) return code;
    if (int code = TextArgument(ctx, args, 1, item, cell)) return code;
    if (document.empty() || document.front() == u'?' || item.empty()) return 3;
    out.SetDocument(document);
    out.SetItem(item);
    return 0;
}

void EvalRemoteValue(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                     const CCRef* cell) {
    CCRemoteRef ref;
    if (int code = DocumentAndItem(ctx, ref, args, cell)) {
        result.Set(code);
        return;
    }
    CCCellManager* manager = cells::ManagerOf(ctx);
    CCCellValue answer;
    if (!manager || !manager->DoRemoteGetValue(&ref, &answer, 0)) {
        result.Set(kUndelivered);
        return;
    }
    // A cell of the other document holding a reference would be read here as one of ours.
    if (answer.IsRef()) answer.Set();
    result = answer;
}

// No word-processor document is ever served here: the reference is still built, so that
// the cell follows once one is, but the value is not available.
void EvalWordProcessorValue(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                            const CCRef* cell) {
    CCRemoteRef ref;
    if (int code = DocumentAndItem(ctx, ref, args, cell)) {
        result.Set(code);
        return;
    }
    result.Set(kNotAvailable);
    ostrel::GetUserInterface().FunctionNotAvailable(
        u"WPGET", u"this host serves no word-processor documents");
}

// The friendly text when there is one (any value, as typed), else the address as text.
void EvalHyperlink(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                   const CCRef* cell) {
    std::u16string address;
    if (int code = TextArgument(ctx, args, 0, address, cell)) {
        result.Set(code);
        return;
    }
    if (NthArgument(args, 1)) {
        EvaluateArgument(ctx, args, 1, result, cell);
        return;
    }
    SetText(result, address);
}

const FunctionRow kRows[] = {
    {u"REMOTE", 13245, kDatabaseAndRemote, RULE(2, 2, kNone, 0), EvalRemoteValue,
     u"REMOTE(document, item)\n"
     u"Returns the value of an item of another open document.\n"
     u"document: the name of the document\n"
     u"item: the reference of the cells, or the designation of the item, within that document",
     EntryClass::remote, 0, nullptr, DocumentAndItem},
    {u"SSGET", 13283, kDatabaseAndRemote, RULE(2, 2, kNone, 0), EvalRemoteValue,
     u"SSGET(document, reference)\n"
     u"Returns the value of cells of another open spreadsheet.\n"
     u"document: the name of the spreadsheet document\n"
     u"reference: the reference of the cells, as text",
     EntryClass::remote, 0, nullptr, DocumentAndItem},
    {u"WPGET", 13284, kDatabaseAndRemote, RULE(2, 2, kNone, 0), EvalWordProcessorValue,
     u"WPGET(document, item)\n"
     u"Returns the value of an item of an open word-processor document.\n"
     u"document: the name of the word-processor document\n"
     u"item: the designation of the table cell or field within the document, as text",
     EntryClass::remote, 0, nullptr, DocumentAndItem},
    {u"HYPERLINK", 13288, kDatabaseAndRemote, RULE(1, 2, kNone, 0), EvalHyperlink,
     u"HYPERLINK(address, [text])\n"
     u"Makes the cell a hyperlink to an address and shows a text for it.\n"
     u"address: the address the link leads to\n"
     u"text: the text shown in the cell; the address when omitted",
     EntryClass::plain, kFlagHyperlink},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::RemoteRows() {
    return kRows;
}
