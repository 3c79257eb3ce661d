// SPDX-License-Identifier: Apache-2.0
// The functions that read the document's own properties (title, author, dates, counts). Each
// names its property as a document item, with which its cell registers, so that the host's
// RecalcDocumentItems recalculates exactly the cells that read a changed property; the value
// comes from the manager. A property the document does not have is error 9 ("#N/A").
#include "functions/arguments.h"
#include "functions/function_row.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/ole_date_time.h"
#include "ostrel/refs/document_ref.h"

namespace {

using namespace ostrel::functions;
using ostrel::platform::COleDateTime;

constexpr int kNotAvailable = 9;

// An automation date as a serial of the engine; NaN when it is not a valid date.
double DateSerial(const COleDateTime& date) {
    return OleDateTimeToDouble(date);
}

// A span of time held as an automation date counted from its zero (1899-12-30): whole days
// and the time of day, as a number of days.
double Duration(const COleDateTime& span) {
    if (span.GetStatus() != COleDateTime::valid) return -1;
    const double time = TimeToDouble(span.GetHour(), span.GetMinute(), span.GetSecond(), 1);
    if (span.GetYear() == 1899) return span.GetDay() - 30 + time;
    return DateToDouble(span.GetDay(), span.GetMonth(), span.GetYear()) + 2 + time;
}

// The property's value from the manager; false when the document does not have it.
bool ReadProperty(CCCellManager& manager, CCDocumentRef::ECDocRefType type, const CCRef* cell,
                  CCCellValue& result) {
    std::u16string text;
    unsigned long count = 0;
    COleDateTime date;
    double number = 0;
    auto asText = [&](int found) {
        if (found) SetText(result, text);
        return found != 0;
    };
    auto asCount = [&](int found) {
        if (found) SetNumber(result, double(count));
        return found != 0;
    };
    auto asDate = [&](int found) {
        const double serial = found ? DateSerial(date) : -1;
        if (!(serial >= 0)) return false;
        SetKind(result, serial, C_NF_DATE);
        return true;
    };
    switch (type) {
        case CCDocumentRef::DOC_CREATEDATE:
            return asDate(manager.GetDocumentCreateDate(date));
        case CCDocumentRef::DOC_PRINTDATE:
            return asDate(manager.GetDocumentPrintDate(date));
        case CCDocumentRef::DOC_SAVEDATE:
            return asDate(manager.GetDocumentSaveDate(date));
        case CCDocumentRef::DOC_EDITTIME: {
            if (!manager.GetDocumentEditTime(date)) return false;
            const double span = Duration(date);
            if (!(span >= 0)) return false;
            SetKind(result, span, C_NF_TIME);
            return true;
        }
        case CCDocumentRef::DOC_AUTHOR:
            return asText(manager.GetDocumentAuthor(text));
        case CCDocumentRef::DOC_COMMENTS:
            return asText(manager.GetDocumentComments(text));
        case CCDocumentRef::DOC_FILENAME:
            return asText(manager.GetDocumentFileName(text));
        case CCDocumentRef::DOC_KEYWORDS:
            return asText(manager.GetDocumentKeywords(text));
        case CCDocumentRef::DOC_SUBJECT:
            return asText(manager.GetDocumentSubject(text));
        case CCDocumentRef::DOC_TITLE:
            return asText(manager.GetDocumentTitle(text));
        case CCDocumentRef::DOC_FILESIZE:
            if (!manager.GetDocumentFileSize(number)) return false;
            SetNumber(result, number);
            return true;
        case CCDocumentRef::DOC_NUMCHARS:
            return asCount(manager.GetDocumentNumChars(count));
        case CCDocumentRef::DOC_NUMPAGES:
            return asCount(manager.GetDocumentNumPages(count));
        case CCDocumentRef::DOC_NUMWORDS:
            return asCount(manager.GetDocumentNumWords(count));
        case CCDocumentRef::DOC_REVNUM:
            return asCount(manager.GetDocumentRevNum(count));
        case CCDocumentRef::DOC_PAGE:
            return asCount(manager.GetDocumentPage(cell, count));
        case CCDocumentRef::DOC_MERGEREC:
            return asCount(manager.GetDocumentMergeRec(count));
        case CCDocumentRef::DOC_MERGECOUNT:
            return asCount(manager.GetDocumentMergeCount(count));
        default:
            return false;
    }
}

// The document item a function stands for: its property, whatever the arguments (it takes
// none).
template <CCDocumentRef::ECDocRefType Item>
int PropertyItem(cells::CTX*, CCDocumentRef& out, const CCFormulaList*, const CCRef*) {
    out.Set(Item);
    return 0;
}

// The value of the property the function's own item names, asked of the cell's manager.
template <unsigned Id>
void EvalProperty(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    CCDocumentRef item;
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager || GetFuncDocumentRef(ctx, item, GetFunctionById(Id), args, cell) != 0 ||
        !ReadProperty(*manager, item.GetDocRefType(), cell, result))
        result.Set(kNotAvailable);
}

#define ITEM(type) EntryClass::document, 0, nullptr, nullptr, PropertyItem<CCDocumentRef::type>

const FunctionRow kRows[] = {
    {u"CREATEDATE", 13246, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13246>,
     u"CREATEDATE()\n"
     u"Returns the date and time at which the document was created.",
     ITEM(DOC_CREATEDATE)},
    {u"EDITTIME", 13247, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13247>,
     u"EDITTIME()\n"
     u"Returns the total time for which the document has been edited.",
     ITEM(DOC_EDITTIME)},
    {u"PRINTDATE", 13248, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13248>,
     u"PRINTDATE()\n"
     u"Returns the date and time at which the document was last printed.",
     ITEM(DOC_PRINTDATE)},
    {u"SAVEDATE", 13249, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13249>,
     u"SAVEDATE()\n"
     u"Returns the date and time at which the document was last saved.",
     ITEM(DOC_SAVEDATE)},
    {u"AUTHOR", 13250, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13250>,
     u"AUTHOR()\n"
     u"Returns the author of the document.",
     ITEM(DOC_AUTHOR)},
    {u"COMMENTS", 13251, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13251>,
     u"COMMENTS()\n"
     u"Returns the comments of the document's properties.",
     ITEM(DOC_COMMENTS)},
    {u"FILENAME", 13252, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13252>,
     u"FILENAME()\n"
     u"Returns the file name of the document.",
     ITEM(DOC_FILENAME)},
    {u"FILESIZE", 13253, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13253>,
     u"FILESIZE()\n"
     u"Returns the size of the document's file in bytes.",
     ITEM(DOC_FILESIZE)},
    {u"KEYWORDS", 13254, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13254>,
     u"KEYWORDS()\n"
     u"Returns the keywords of the document's properties.",
     ITEM(DOC_KEYWORDS)},
    {u"NUMCHARS", 13255, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13255>,
     u"NUMCHARS()\n"
     u"Returns the number of characters of the document.",
     ITEM(DOC_NUMCHARS)},
    {u"NUMPAGES", 13256, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13256>,
     u"NUMPAGES()\n"
     u"Returns the number of pages of the document.",
     ITEM(DOC_NUMPAGES)},
    {u"NUMWORDS", 13257, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13257>,
     u"NUMWORDS()\n"
     u"Returns the number of words of the document.",
     ITEM(DOC_NUMWORDS)},
    {u"SUBJECT", 13258, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13258>,
     u"SUBJECT()\n"
     u"Returns the subject of the document's properties.",
     ITEM(DOC_SUBJECT)},
    {u"TITLE", 13259, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13259>,
     u"TITLE()\n"
     u"Returns the title of the document.",
     ITEM(DOC_TITLE)},
    {u"REVNUM", 13260, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13260>,
     u"REVNUM()\n"
     u"Returns the revision number of the document.",
     ITEM(DOC_REVNUM)},
    {u"PAGE", 13261, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13261>,
     u"PAGE()\n"
     u"Returns the number of the page on which the formula's cell lies.",
     ITEM(DOC_PAGE)},
    {u"MERGEREC", 13262, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13262>,
     u"MERGEREC()\n"
     u"Returns the number of the record being merged in a mail merge.",
     ITEM(DOC_MERGEREC)},
    {u"MERGECOUNT", 13263, kDocumentInformation, RULE(0, 0, kNone, 0), EvalProperty<13263>,
     u"MERGECOUNT()\n"
     u"Returns the number of records merged so far in a mail merge.",
     ITEM(DOC_MERGECOUNT)},
};

#undef ITEM

}  // namespace

std::span<const FunctionRow> ostrel::functions::DocumentRows() {
    return kRows;
}
