// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/module.h"

#include "formats/format_code_cache.h"
#include "formats/intl_settings.h"
#include "formats/lt_strings.h"
#include "formats/module_profile.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/ui.h"

namespace {

// Whether the engine may take typed text: set by a start that succeeded, cleared at the end.
bool g_started = false;

}  // namespace

int QXCellInit() {
    CFormatCodeCache::Create();
    InitInternationalSettings();
    const bool functions = InitBuiltinFunctions();
    InitModuleRegistry();
    ReleaseLTStrings();
    LoadLTStrings();
    g_started = functions;
    return functions ? 1 : 0;
}

void QXCellExit() {
    g_started = false;
    CFormatCodeCache::Destroy();
    ReleaseLTStrings();
}

bool QXCellStarted() {
    return g_started;
}

bool RefuseUnlessStarted() {
    if (g_started) return false;
    // Without the registry nothing typed could become a formula, and a host that forgot the
    // start would see every formula kept as text; it hears why instead, each time.
    ostrel::GetUserInterface().ShowMessage(
        0, u"The engine has not been started: QXCellInit() must succeed before text is typed.",
        ostrel::MessageIcon::error);
    return true;
}
