// SPDX-License-Identifier: Apache-2.0
// Whole files on disk: read at once, and replaced at once, so that a reader of the path
// never meets half of a file.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::host {

// The contents of a regular file; false with error set (the system's reason) otherwise.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// Writes bytes into a new file in path's folder, flushes it to disk and renames it over
// path, then flushes the folder: path holds the old file or the new one whole. A new file
// gets the permissions of the one it replaces, or those any new file would get. False with
// error set, and path untouched, when any step fails.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace ostrel::host
