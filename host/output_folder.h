// SPDX-License-Identifier: Apache-2.0
// Publishing several output files into one folder as a whole: each file appears complete
// and on disk, and when any of them cannot be put in place the folder is left as it was.
#pragma once

#include <string>
#include <vector>

namespace ostrel {

struct OutputFile {
    std::string name;   // within the folder
    std::string bytes;  // the whole content
};

// Writes every file into dir (created when missing). Each is written beside its place under
// a temporary name no longer than its own, flushed to disk and renamed into place only
// once every file has been written and every place checked; a rename that fails all the
// same puts back what the earlier ones replaced. False with reason set (naming the file
// concerned) when the folder is unchanged; files are never left half-written.
bool PublishFiles(const std::string& dir, const std::vector<OutputFile>& files,
                  std::string& reason);

}  // namespace ostrel
