// SPDX-License-Identifier: Apache-2.0
/// \file
/// Start and end of the engine in a process: the host calls QXCellInit once before anything
/// else and QXCellExit once at the end.
#pragma once

#include "ostrel/export.h"

/// Creates the format-code cache, fills the international settings from the user's locale,
/// builds the function registry, sets the module profile's root and loads the
/// leading/trailing strings. 1 when the engine is ready; 0 when the function registry could
/// not be built (BuiltinFunctionsFailure says why), and no formula can be read.
OSTREL_API int QXCellInit();
/// Releases the format-code cache and the leading/trailing strings.
OSTREL_API void QXCellExit();
/// Whether QXCellInit has succeeded and QXCellExit not run since. Until then typed text is
/// refused: CCCell::SetText stores nothing and CCCellManager::SetCellText returns 0, after
/// the user-interface callbacks have shown the error (ostrel::CUserInterface::ShowMessage,
/// resource id 0).
OSTREL_API bool QXCellStarted();
/// Shows that error and answers true when the engine has not been started.
OSTREL_API bool RefuseUnlessStarted();
