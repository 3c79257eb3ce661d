// SPDX-License-Identifier: Apache-2.0
// A workbook of the reference host to and from the bytes of a workbook file. Formulas go
// into the file and come out of it in the invariant locale; values come from the file, so
// that loading starts only formulas whose values the file does not hold and those that read
// what no dependency names (the clock, random numbers, INDIRECT).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "facade/host_workbook.h"

namespace ostrel::host {

// Brings the workbook up to date and writes it; false with error set when a part of it
// does not fit the file (the error names the cell when one is the cause).
bool WriteBook(HostWorkbook& book, std::string& bytes, std::string& error);

// A new workbook, its sheets scanning and printing with the given locale, from a file's
// bytes; null with error set when the file cannot be read whole. Nothing is shared with
// any other workbook, so a refused file leaves everything as it was.
std::unique_ptr<HostWorkbook> ReadBook(std::string_view bytes, const std::string& localeName,
                                       std::string& error);

}  // namespace ostrel::host
