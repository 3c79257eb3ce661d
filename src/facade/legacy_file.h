// SPDX-License-Identifier: Apache-2.0
// The legacy exchange file of the reference host (docs/legacy-file.md): one sheet's cells
// as the previous generation's records, in a container of ours with a magic, a version and
// a checksum. What the old records cannot hold is counted for the caller to tell the user.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "facade/host_workbook.h"
#include "ostrel/calc_book.h"

namespace ostrel::host {

inline constexpr std::string_view kLegacyMagic{"\x89OCL\r\n\x1A\n", 8};
inline constexpr uint16_t kLegacyVersion = 1;

// Whether bytes begin with the magic of a legacy exchange file.
bool HasLegacyMagic(std::string_view bytes);

// Brings the workbook up to date and writes its one sheet; false with error set when the
// workbook has several sheets. report counts the formulas written as values and the texts
// cut.
bool WriteLegacy(HostWorkbook& book, std::string& bytes, LegacySaveReport& report,
                 std::string& error);

// A new workbook of one sheet from a file's bytes, its formulas calculated; null with error
// set when the file cannot be read whole. Nothing is built until every record was read.
std::unique_ptr<HostWorkbook> ReadLegacy(std::string_view bytes, const std::string& localeName,
                                         std::string& error);

}  // namespace ostrel::host
