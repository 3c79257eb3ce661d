// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/module.h"

#include "formats/format_code_cache.h"
#include "formats/intl_settings.h"
#include "formats/lt_strings.h"
#include "formats/module_profile.h"
#include "ostrel/functions/func.h"

int QXCellInit() {
    CFormatCodeCache::Create();
    InitInternationalSettings();
    const bool functions = InitBuiltinFunctions();
    InitModuleRegistry();
    ReleaseLTStrings();
    LoadLTStrings();
    return functions ? 1 : 0;
}

void QXCellExit() {
    CFormatCodeCache::Destroy();
    ReleaseLTStrings();
}
