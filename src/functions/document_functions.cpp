// SPDX-License-Identifier: Apache-2.0
// The functions that read the document's own properties. Their routines come with the
// documents that serve them; until then a cell using one shows an error and the host hears of
// it.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"CREATEDATE", 13246, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"CREATEDATE()\n"
     u"Returns the date and time at which the document was created.",
     EntryClass::document},
    {u"EDITTIME", 13247, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"EDITTIME()\n"
     u"Returns the total time for which the document has been edited.",
     EntryClass::document},
    {u"PRINTDATE", 13248, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"PRINTDATE()\n"
     u"Returns the date and time at which the document was last printed.",
     EntryClass::document},
    {u"SAVEDATE", 13249, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"SAVEDATE()\n"
     u"Returns the date and time at which the document was last saved.",
     EntryClass::document},
    {u"AUTHOR", 13250, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"AUTHOR()\n"
     u"Returns the author of the document.",
     EntryClass::document},
    {u"COMMENTS", 13251, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"COMMENTS()\n"
     u"Returns the comments of the document's properties.",
     EntryClass::document},
    {u"FILENAME", 13252, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"FILENAME()\n"
     u"Returns the file name of the document.",
     EntryClass::document},
    {u"FILESIZE", 13253, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"FILESIZE()\n"
     u"Returns the size of the document's file in bytes.",
     EntryClass::document},
    {u"KEYWORDS", 13254, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"KEYWORDS()\n"
     u"Returns the keywords of the document's properties.",
     EntryClass::document},
    {u"NUMCHARS", 13255, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"NUMCHARS()\n"
     u"Returns the number of characters of the document.",
     EntryClass::document},
    {u"NUMPAGES", 13256, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"NUMPAGES()\n"
     u"Returns the number of pages of the document.",
     EntryClass::document},
    {u"NUMWORDS", 13257, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"NUMWORDS()\n"
     u"Returns the number of words of the document.",
     EntryClass::document},
    {u"SUBJECT", 13258, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"SUBJECT()\n"
     u"Returns the subject of the document's properties.",
     EntryClass::document},
    {u"TITLE", 13259, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"TITLE()\n"
     u"Returns the title of the document.",
     EntryClass::document},
    {u"REVNUM", 13260, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"REVNUM()\n"
     u"Returns the revision number of the document.",
     EntryClass::document},
    {u"PAGE", 13261, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"PAGE()\n"
     u"Returns the number of the page on which the formula's cell lies.",
     EntryClass::document},
    {u"MERGEREC", 13262, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"MERGEREC()\n"
     u"Returns the number of the record being merged in a mail merge.",
     EntryClass::document},
    {u"MERGECOUNT", 13263, kDocumentInformation, RULE(0, 0, kNone, 0), nullptr,
     u"MERGECOUNT()\n"
     u"Returns the number of records merged so far in a mail merge.",
     EntryClass::document},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::DocumentRows() {
    return kRows;
}
