// SPDX-License-Identifier: Apache-2.0
/// \file
/// The application facade: a workbook of named sheets that a program fills with typed text
/// and reads back, without knowing the engine's classes. The engine starts on first use;
/// references, ranges, other sheets and empty cells work as a user types them.
///
/// \code
///   auto book = ostrel::MakeCalcBook("");
///   ostrel::CalcSheet* sheet = book->AddSheet(u"Sheet1");
///   sheet->SetCellText(0, 0, "2");
///   sheet->SetCellText(1, 0, "=A1*21");
///   book->RecalculateAll();
///   double answer = sheet->GetCellValue(1, 0).number;  // 42
/// \endcode
///
/// Threads: one workbook belongs to one thread at a time. Workbooks share process-wide
/// tables (formats, functions, settings), so two workbooks must not be used on two threads
/// at once either; see ostrel/engine/module.h.
#pragma once

#include "ostrel/export.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

class CCTransportInterface;

namespace ostrel {

/// What a cell holds after calculation.
struct CellValue {
    enum class Kind : unsigned char {
        empty,    ///< never typed into, or a formula that gives nothing
        number,   ///< number holds it; a date or a time is its serial number
        boolean,  ///< number is 1 for TRUE and 0 for FALSE
        text,     ///< text holds it
        error,    ///< error holds the code; GetCellValueText shows it ("#REF!", "#N/A", ...)
    };
    Kind kind = Kind::empty;
    double number = 0;
    std::u16string text;
    int error = 0;
};

/// One sheet: columns 0-255 and rows 0-65535, counted from 0. Owned by its workbook (or,
/// from MakeCalcSheet, by the caller).
class OSTREL_API CalcSheet {
public:
    virtual ~CalcSheet();

    /// Types text into a cell, as a user would: the sheet decides whether it is a number,
    /// date, text or formula (a leading "="). False when the cell could not take the text
    /// at all (a position off the grid); a text the sheet only warns about (through the
    /// user-interface callbacks of ostrel/platform/ui.h) still counts as typed.
    virtual bool SetCellText(int column, int row, std::u16string_view text) = 0;
    /// The same, from UTF-8 text (malformed sequences become U+FFFD).
    bool SetCellText(int column, int row, std::string_view utf8);
    /// Brings every value up to date after a batch of typing; values are read only after
    /// this (or after the workbook's RecalculateAll).
    virtual void Recalculate() = 0;
    /// The cell's value; empty for a cell never typed into or a position off the grid.
    virtual CellValue GetCellValue(int column, int row) = 0;
    /// The text the cell shows: its value through its number format. Empty for a cell
    /// never typed into.
    virtual std::u16string GetCellValueText(int column, int row) = 0;
    /// The same into text, reusing its storage: for a caller that reads many cells.
    virtual void ReadCellValueText(int column, int row, std::u16string& text) {
        text = GetCellValueText(column, row);
    }
    /// For a caller that writes what cells show as bytes: the text into text when the sheet
    /// has it as ASCII without a wide text (a whole number in the general format, what most
    /// cells show). False, with text untouched, for any other cell: ReadCellValueText gives
    /// every cell's.
    virtual bool ReadCellValueAscii(int column, int row, std::string& text);
    /// The formula text of a formula cell ("=A1*21"), or the value as typed for any other
    /// cell.
    virtual std::u16string GetCellFormula(int column, int row) = 0;
    /// Whether the cell holds a formula (a circular one included).
    virtual bool HasFormula(int column, int row) = 0;
    /// The smallest number of columns and rows from A1 that holds every cell with a value;
    /// 0 and 0 for an empty sheet.
    virtual void GetUsedSize(int& columns, int& rows) = 0;
    /// Gives the cell the custom number format `code` ("#,##0.00;[Red](#,##0.00)"): its
    /// number, typed or calculated, now and later, displays through the code. False off the
    /// grid, for a code that cannot be used (empty, or longer than kLongestFormatCode) and for
    /// a sheet that keeps no formats.
    virtual bool SetCustomFormat(int column, int row, std::u16string_view code);
    static constexpr size_t kLongestFormatCode = 4096;

    /// Bytes a program keeps with the sheet, such as where its cells came from: a workbook
    /// file holds them, and CalcBook::LoadBook gives them back as they were. The engine never
    /// reads them. False when they are longer than kLongestHostData or the sheet keeps none.
    virtual bool SetHostData(std::string_view bytes);
    virtual std::string GetHostData();
    static constexpr size_t kLongestHostData = size_t(1) << 20;

    /// Writes the used area as comma-separated values in UTF-8 (RFC 4180, records ending
    /// with LF): what each cell shows, an empty field for an empty cell. False when the
    /// stream failed.
    bool SaveCsv(std::ostream& out, char separator = ',');
};

/// What a legacy exchange file could not hold of a sheet (CalcBook::SaveLegacy).
struct LegacySaveReport {
    size_t formulasAsValues = 0;  ///< cells whose formula was written as its value
    std::u16string firstFormula;  ///< the first of them, such as "B7"
    size_t textsCut = 0;          ///< texts cut to their first 254 bytes
    std::u16string firstText;     ///< the first of them
};

/// Sheets that calculate together: formulas on one read cells of the others by name
/// (=Prices!B2*2).
class OSTREL_API CalcBook {
public:
    virtual ~CalcBook();

    /// Appends a new empty sheet, owned by the workbook; null when the name cannot name a
    /// sheet or HasSheet(name).
    virtual CalcSheet* AddSheet(std::u16string_view name) = 0;
    /// Whether a sheet of that name is there already (names compare ignoring case).
    virtual bool HasSheet(std::u16string_view name) const = 0;
    virtual size_t SheetCount() const = 0;
    /// The sheets in the order they were added, from 0; null past the end.
    virtual CalcSheet* Sheet(size_t index) = 0;
    /// The name of sheet index; empty past the end (and for a workbook that names none).
    virtual std::u16string SheetName(size_t index) const;
    /// Brings every sheet up to date after a batch of typing. progress, when given, hears
    /// now and then how much of the work is done (0 to 1); cancelled, when given, is asked
    /// as often whether to stop. Returns false when it stopped on request: the cells not
    /// reached yet stay due, and the next call goes on with them.
    virtual bool RecalculateAll(const std::function<void(double)>& progress,
                                const std::function<bool()>& cancelled) = 0;
    bool RecalculateAll() { return RecalculateAll({}, {}); }

    /// Writes the workbook as a workbook file (docs/workbook-file.md): every sheet in order
    /// with its name, every cell with its value, formula and format, the unit texts, each
    /// sheet's protection and document items and its host data. The workbook is brought up
    /// to date first. The file is written beside path, flushed to disk and renamed over it,
    /// so that path holds the old file or the whole new one, never part of either. False
    /// with *error (when given) saying why; the file at path is then as it was.
    bool SaveBook(const std::string& path, std::string* error = nullptr);
    /// The same file as bytes. A workbook that keeps no cells of the engine's (one a
    /// program implements itself) cannot be saved.
    virtual bool SaveBookBytes(std::string& bytes, std::string* error = nullptr);

    /// A new workbook from a workbook file, its sheets scanning and printing with the given
    /// locale (as MakeCalcBook's). Values come from the file: RecalculateAll computes only
    /// the formulas that read the clock, random numbers or what no dependency names, and
    /// those whose values the file does not hold. Null with *error (when given) saying why
    /// when the file cannot be read whole: not a workbook file, of a newer format than this
    /// version reads, cut short, damaged, or naming two sheets alike. Nothing of a refused
    /// file reaches any workbook.
    static std::unique_ptr<CalcBook> LoadBook(const std::string& path,
                                              const std::string& localeName,
                                              std::string* error = nullptr);
    static std::unique_ptr<CalcBook> LoadBookBytes(std::string_view bytes,
                                                   const std::string& localeName,
                                                   std::string* error = nullptr);
    /// Whether bytes (the first eight of a file are enough) begin as a workbook file does.
    static bool IsBookFile(std::string_view bytes);

    /// Writes the one sheet of the workbook as a legacy exchange file
    /// (docs/legacy-file.md), the records the previous generation of spreadsheets reads,
    /// atomically as SaveBook does. A formula the old records cannot carry (choices such as
    /// IF and CHOOSE, constant arrays, references to other sheets, fractional constants)
    /// is written as its value, and a text beyond 254 bytes is cut: *report (when given)
    /// counts both and names the first cell of each. False with *error saying why, such as
    /// a workbook of several sheets.
    bool SaveLegacy(const std::string& path, LegacySaveReport* report = nullptr,
                    std::string* error = nullptr);
    virtual bool SaveLegacyBytes(std::string& bytes, LegacySaveReport* report = nullptr,
                                 std::string* error = nullptr);
    /// A new workbook of one sheet from a legacy exchange file, every formula calculated;
    /// null with *error saying why when the file cannot be read whole.
    static std::unique_ptr<CalcBook> LoadLegacyBytes(std::string_view bytes,
                                                     const std::string& localeName,
                                                     std::string* error = nullptr);
    /// Whether bytes (the first eight are enough) begin as a legacy exchange file does.
    static bool IsLegacyFile(std::string_view bytes);

    /// Other documents. Formulas read cells of another document by the name it was added
    /// under: =REMOTE("Prices", "B2"), =SUM(SSGET("Prices", "Sheet2!A1:A9")); a document
    /// nobody added gives #REF!, and no formula ever opens a file. The workbooks added to
    /// one another form one set of documents, in which each reaches every other (this one
    /// under DocumentName()), and a formula that reads another document is recalculated
    /// when the cells it reads change there and that document is recalculated. Add a
    /// document before typing the formulas that read it: a formula that found no document
    /// stays #REF! until it is typed or recalculated again.
    ///
    /// Adds the workbook other under name (ignoring case; not empty, not starting with
    /// "?"). Neither workbook owns the other: each leaves the set when it is destroyed, and
    /// formulas reading it then give #REF!. False for a name taken, for this workbook
    /// itself, for a workbook of another set or added already under another name, and for
    /// a workbook that is not one of MakeCalcBook's or LoadBook's.
    virtual bool AddDocument(std::u16string_view name, CalcBook& other);
    /// Adds any document that serves the engine's requests in its OnTransport (such as a
    /// database document a program built). The workbook does not own it: it must outlive
    /// every workbook of the set, or be removed first.
    virtual bool AddDocument(std::u16string_view name, CCTransportInterface& server);
    /// Takes the document of that name out of the set (never this workbook itself).
    virtual bool RemoveDocument(std::u16string_view name);
    /// The name the other documents of the set reach this one by ("Book" unless taken);
    /// empty while no document was added.
    virtual std::u16string DocumentName() const;

    /// Document properties, which the document functions read (=TITLE(), =AUTHOR(),
    /// =CREATEDATE()) and a workbook file keeps. Keys, ignoring case: title, subject,
    /// author, keywords, comments, filename (texts); created, saved, printed (dates as
    /// YYYY-MM-DD, optionally with THH:MM or THH:MM:SS); edittime (whole minutes); revision,
    /// pages, words, characters (whole numbers); filesize (bytes). An empty value removes
    /// the property; a function reading a property that is not set gives #N/A. Setting one
    /// makes the formulas that read it due (RecalculateAll brings them up to date). False,
    /// with nothing changed, for an unknown key or a value not of its kind.
    virtual bool SetProperty(std::u16string_view key, std::u16string_view value);
    /// The property as set (dates in the form YYYY-MM-DDTHH:MM:SS); empty when not set.
    virtual std::u16string GetProperty(std::u16string_view key) const;
};

/// A name for a sheet made from text (a file's name) that formulas can use in references
/// such as =NAME!A1: every character but letters, digits and "_" becomes "_", and a name
/// that would read as something else (a cell such as C4000 or IV1, a function such as SUM,
/// TRUE or FALSE) or that starts with a digit gets a "_" in front; names are cut to 79
/// characters. A name that needs none of this stays as it is.
OSTREL_API std::u16string ReferableSheetName(std::u16string_view text);

/// A cell's address as formulas write it: column 1, row 6 is "B7". Empty off the grid.
OSTREL_API std::u16string CellAddress(int column, int row);
/// Reads an address such as "B7" or "$b$7" (0-based column and row out); false for
/// anything else.
OSTREL_API bool ParseCellAddress(std::u16string_view text, int& column, int& row);

/// A new empty sheet that scans and prints with the given locale: a name the locale library
/// knows (POSIX "de_DE.UTF-8" or ICU "de-DE" form), or "" for the invariant locale. The
/// caller checks the name first. Null when the engine could not start (EngineStartFailure
/// says why).
OSTREL_API std::unique_ptr<CalcSheet> MakeCalcSheet(const std::string& localeName);

/// A new empty workbook whose sheets scan and print with the given locale, as
/// MakeCalcSheet's. Null when the engine could not start (EngineStartFailure says why).
OSTREL_API std::unique_ptr<CalcBook> MakeCalcBook(const std::string& localeName);

/// Why the engine behind the sheets could not start; empty when it did.
OSTREL_API std::string EngineStartFailure();

}  // namespace ostrel
