// SPDX-License-Identifier: Apache-2.0
// The built-in format codes: a fixed, ordered set of format codes into which the
// international settings put the currency, the date and time separators and the date
// order. Indexes, with the codes under the default settings:
//   0 "General"          1 "0"                2 "0.00"              3 "#,##0"
//   4 "#,##0.00"         5 "#,##0_);(#,##0)"  6 "#,##0_);[Red](#,##0)"
//   7 "#,##0.00_);(#,##0.00)"                 8 "#,##0.00_);[Red](#,##0.00)"
//   9-12 the same four forms with the currency: "$#,##0_);($#,##0)",
//        "$#,##0_);[Red]($#,##0)", "$#,##0.00_);($#,##0.00)", "$#,##0.00_);[Red]($#,##0.00)"
//        (the currency placed by the positive and negative currency orders)
//  13 "0%"              14 "0.00%"           15 "0.00E+00"          16 "##0.0E+0"
//  17 "# ?/?"           18 "# ??/??"
//  19 the short date from the date order, separator and year size: "m/d/yyyy"
//  20 "d-mmm-yy"        21 "d-mmm"           22 "mmm-yy"
//  23 "h:mm AM/PM"      24 "h:mm:ss AM/PM"   25 "h:mm"              26 "h:mm:ss"
//  27 the short date with a two-digit year and the time: "m/d/yy h:mm"
//  28 "mm:ss"           29 "[h]:mm:ss"       30 "mm:ss.0"           31 "@"
// The time separator replaces every ":". A separator or currency character that the code
// syntax would read as a placeholder is escaped or quoted.
#pragma once

#include "ostrel/platform/string_types.h"
#include "platform/names.h"

// Rebuilds the list from the current international settings (done by
// InitInternationalSettings; a host that overrides settings calls it afterwards).
void RebuildBuiltInNumberFormats();
// The code at index; the first code ("General") for an index outside the list. The
// reference stays valid until the next rebuild.
const CString& getBuiltInNumberFormat(int index);
int GetBuiltInNumberFormatCount();
