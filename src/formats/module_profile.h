// SPDX-License-Identifier: Apache-2.0
// The module profile: the engine's own persistent options, kept per host application in an
// INI file under $XDG_CONFIG_HOME (see platform/profile.h for where exactly).
#pragma once

#include "ostrel/platform/string_types.h"
#include "platform/names.h"

// Takes the host application's key (set with ostrel::SetHostRegistryKey) and the profile
// name "Ostrel Cells"; called at engine start before any profile access.
void InitModuleRegistry();

// A null key deletes the section, a null value deletes the key (deleting what is not there
// succeeds). Returns 1 on success, 0 for a null section or when the profile cannot be read
// or written.
int WriteModuleProfileString(const char16_t* section, const char16_t* key, const char16_t* value);
int WriteModuleProfileInt(const char16_t* section, const char16_t* key, int value);
// The stored value, or the default when the section or key is missing; the Int form reads
// a decimal integer from the value's start and gives the default for anything else.
CString GetModuleProfileString(const char16_t* section, const char16_t* key,
                               const char16_t* defaultValue);
int GetModuleProfileInt(const char16_t* section, const char16_t* key, int defaultValue);
