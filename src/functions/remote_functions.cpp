// SPDX-License-Identifier: Apache-2.0
// The functions that read other documents and databases. Their routines come with the
// documents that serve them; until then a cell using one shows an error and the host hears of it.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"REMOTE", 13245, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"REMOTE(document, item)\n"
     u"Returns the value of an item of another open document.\n"
     u"document: the name of the document\n"
     u"item: the reference of the cells, or the designation of the item, within that document",
     EntryClass::remote},
    {u"SSGET", 13283, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"SSGET(document, reference)\n"
     u"Returns the value of cells of another open spreadsheet.\n"
     u"document: the name of the spreadsheet document\n"
     u"reference: the reference of the cells, as text",
     EntryClass::remote},
    {u"WPGET", 13284, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"WPGET(document, item)\n"
     u"Returns the value of an item of an open word-processor document.\n"
     u"document: the name of the word-processor document\n"
     u"item: the designation of the table cell or field within the document, as text",
     EntryClass::remote},
    {u"HYPERLINK", 13288, kDatabaseAndRemote, RULE(1, 2, kNone, 0), nullptr,
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
