// Start and end of the engine in a process: the host calls QXCellInit once before anything
// else and QXCellExit once at the end.
#pragma once

// Creates the format-code cache, fills the international settings from the user's locale,
// sets the module profile's root and loads the leading/trailing strings.
void QXCellInit();
// Releases the format-code cache and the leading/trailing strings.
void QXCellExit();
