// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/exceptions.h"

const char* CArchiveException::what() const noexcept {
    switch (m_cause) {
        case readOnly:
            return "archive: write to an archive opened for loading";
        case endOfFile:
            return "archive: unexpected end of file";
        case writeOnly:
            return "archive: read from an archive opened for storing";
        case badFormat:
            return "archive: malformed data";
        case badIndex:
            return "archive: bad index";
        case badClass:
            return "archive: bad class";
        default:
            return "archive exception";
    }
}
