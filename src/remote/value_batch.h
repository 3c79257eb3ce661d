// SPDX-License-Identifier: Apache-2.0
// The answer of request 23 (many values of an open reference at once) in a form of our own,
// written in one piece and read without an archive call per field, so that a range of
// another document costs little more than the values themselves. It reads back exactly the
// values that their stream forms would give: numbers bit for bit, texts as the string
// field has them (cut at 4096 units), and each number's format.
//
// The layout is the one CCTransportInterface::DoRemoteNextValues documents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CCCellValue;
namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform

namespace ostrel::remote {

// Writes the first count values.
void WriteValueBatch(ostrel::platform::CArchive& ar, const std::vector<CCCellValue>& values,
                     size_t count);

// Reads a batch that is the whole rest of the archive, at most most values. Every count and
// length is checked against the bytes left before anything is made for it; a batch that
// claims more, holds something else or leaves bytes over raises the bad-format archive
// exception and leaves values as they were.
void ReadValueBatch(ostrel::platform::CArchive& ar, uint32_t most,
                    std::vector<CCCellValue>& values);

}  // namespace ostrel::remote
