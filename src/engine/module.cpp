#include "engine/module.h"

#include "formats/format_code_cache.h"
#include "formats/intl_settings.h"
#include "formats/lt_strings.h"
#include "formats/module_profile.h"
#include "functions/func.h"

void QXCellInit() {
    CFormatCodeCache::Create();
    InitInternationalSettings();
    InitBuiltinFunctions();
    InitModuleRegistry();
    ReleaseLTStrings();
    LoadLTStrings();
}

void QXCellExit() {
    CFormatCodeCache::Destroy();
    ReleaseLTStrings();
}
