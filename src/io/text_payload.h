// SPDX-License-Identifier: Apache-2.0
// Payload pieces of the exchange stream: little-endian numbers and terminated texts, in
// UTF-16 or in the 8-bit code page. Reading never looks past the payload's length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::io {

template <class T>
void PutLE(uint8_t* out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

template <class T>
T GetLE(const uint8_t* in) {
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<T>(value | (T(in[i]) << (8 * i)));
    return value;
}

// Appends text and its terminating zero: two bytes a unit, or one byte of the code page a
// unit (characters it lacks become '?').
void AppendTerminatedText(std::vector<uint8_t>& out, std::u16string_view text, bool wide);

// How many leading units of text fit in room without parting a surrogate pair.
size_t CutBetweenCharacters(std::u16string_view text, size_t room);

// The text at the start of the length bytes of data, up to its terminating zero; the
// archive's bad-format exception when no terminator stands within those bytes.
std::u16string ReadTerminatedText(const uint8_t* data, size_t length, bool wide);

}  // namespace ostrel::io
