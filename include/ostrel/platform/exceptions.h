// SPDX-License-Identifier: Apache-2.0
/// \file
/// The exceptions the engine raises at its boundary: archive failures (wrong direction,
/// premature end, malformed data), invalid arguments and exhausted memory.
#pragma once

#include <exception>

#include "ostrel/export.h"

namespace ostrel {

/// Base of the engine's own exceptions, so that a host can catch them in one place.
class OSTREL_API CException : public std::exception {
public:
    const char* what() const noexcept override { return "ostrel exception"; }
};

}  // namespace ostrel

/// Raised by CArchive. The cause numbers are part of the engine's contract: 2 writing to an
/// archive that loads, 3 reading past the end, 4 reading from an archive that stores.
class OSTREL_API CArchiveException : public ostrel::CException {
public:
    enum Cause {
        none = 0,
        generic = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badFormat = 7,
    };

    explicit CArchiveException(Cause cause) : m_cause(cause) {}
    const char* what() const noexcept override;

    int m_cause;
};

/// A file operation failed (open, seek outside the file, write to a file that cannot grow).
class OSTREL_API CFileException : public ostrel::CException {
public:
    enum Cause {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badSeek = 3,
        diskFull = 4,
        accessDenied = 5
    };

    explicit CFileException(Cause cause) : m_cause(cause) {}
    const char* what() const noexcept override { return "file exception"; }

    int m_cause;
};

/// An argument outside what an operation accepts (an index beyond an array, a negative size).
class OSTREL_API CInvalidArgException : public ostrel::CException {
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

/// An allocation the engine asked for could not be satisfied.
class OSTREL_API CMemoryException : public ostrel::CException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};
