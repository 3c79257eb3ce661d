// SPDX-License-Identifier: Apache-2.0
// What the command-line program needs from a spreadsheet: type text into a cell, let the
// sheet finish calculating, read a cell's display text or formula text. The program sees
// nothing else of the engine, so a sheet backed by the engine and a plain one for testing
// the program are interchangeable.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ostrel {

// Columns 0-255 and rows 0-65535, counted from 0.
class CalcSheet {
public:
    virtual ~CalcSheet();

    // Types text into a cell, as a user would: the sheet decides whether it is a number,
    // date, text or formula. False when the cell could not take the text at all (a
    // position off the grid, no cell in the store); a text the sheet only warns about
    // (through the user-interface callbacks) still counts as typed.
    virtual bool SetCellText(int column, int row, std::u16string_view text) = 0;
    // Brings every value up to date after a batch of typing; values are read only after
    // this.
    virtual void Recalculate() = 0;
    // The text the cell shows: its value through its number format. Empty for a cell
    // never typed into.
    virtual std::u16string GetCellValueText(int column, int row) = 0;
    // The formula text of a formula cell, or the value as typed for any other cell.
    virtual std::u16string GetCellFormula(int column, int row) = 0;
    // Whether the cell holds a formula (a circular one included).
    virtual bool HasFormula(int column, int row) = 0;
};

// Sheets that calculate together: formulas on one read cells of the others by name
// (=Prices!B2*2).
class CalcBook {
public:
    virtual ~CalcBook();

    // Appends a new empty sheet; null when the name cannot name a sheet or HasSheet(name).
    virtual CalcSheet* AddSheet(std::u16string_view name) = 0;
    // Whether a sheet of that name is there already (names compare ignoring case).
    virtual bool HasSheet(std::u16string_view name) const = 0;
    virtual size_t SheetCount() const = 0;
    // The sheets in the order they were added, from 0; null past the end.
    virtual CalcSheet* Sheet(size_t index) = 0;
    // Brings every sheet up to date after a batch of typing; progress, when given, hears
    // now and then how much of the work is done (0 to 1) while it runs.
    virtual void RecalculateAll(const std::function<void(double)>& progress) = 0;
};

// A name for a sheet made from text (a file's name) that formulas can use in references
// such as =NAME!A1: every character but letters, digits and "_" becomes "_", and a name
// that would read as something else (a cell such as C4000 or IV1, a function such as SUM,
// TRUE or FALSE) or that starts with a digit gets a "_" in front; names are cut to 79
// characters. A name that needs none of this stays as it is.
std::u16string ReferableSheetName(std::u16string_view text);

// A new empty sheet that scans and prints with the given locale: a name the locale library
// knows (POSIX "de_DE.UTF-8" or ICU "de-DE" form), or "" for the invariant locale. The
// caller checks the name first. Null when no sheet can be made.
std::unique_ptr<CalcSheet> MakeCalcSheet(const std::string& localeName);

// A new empty workbook whose sheets scan and print with the given locale, as
// MakeCalcSheet's. Null when no workbook can be made.
std::unique_ptr<CalcBook> MakeCalcBook(const std::string& localeName);

// Why the engine behind the sheets could not start; empty when it did.
std::string EngineStartFailure();

}  // namespace ostrel
