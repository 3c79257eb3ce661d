// SPDX-License-Identifier: Apache-2.0
// The leading/trailing strings: the process-wide list of unit texts that Number formats
// attach to values (a format stores index + 1 of its text).
#pragma once

#include <string_view>

#include "ostrel/platform/string_types.h"
#include "platform/names.h"

namespace ostrel::platform {
class CStringArray;
}  // namespace ostrel::platform
using ostrel::platform::CStringArray;
void InitLTStrings();
void LoadLTStrings();
int AddLTString(std::u16string_view text);
int DoGetLTStringIndex(std::u16string_view text);
int GetLTStringIndex(std::u16string_view text);
// The entry at index; an empty text at or beyond the end (or below 0).
const CString& GetLTString(int index);
int GetNumberLTStrings();
// Replaces the array's contents with a copy of the list.
void GetLTStrings(CStringArray& out);
void ReleaseLTStrings();

int SetDefaultLTStrings(std::u16string_view text);
int ClearDefaultLTStrings();
CString GetDefaultLTStrings();
