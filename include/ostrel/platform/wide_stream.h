// SPDX-License-Identifier: Apache-2.0
/// \file
/// The engine's wide output stream: an append-only sink of UTF-16 text that printers write
/// display text, formula text and format codes into.
#pragma once

#include <string>
#include <string_view>

#include "ostrel/export.h"

namespace ostrel::platform {

class OSTREL_API CWideOutStream {
public:
    CWideOutStream() = default;
    /// Starts empty, writing into the storage of text (a caller's buffer reused).
    explicit CWideOutStream(std::u16string text) : m_text(std::move(text)) { m_text.clear(); }

    CWideOutStream& operator<<(char16_t c) {
        m_text.push_back(c);
        return *this;
    }
    CWideOutStream& operator<<(std::u16string_view text) {
        m_text.append(text);
        return *this;
    }
    CWideOutStream& operator<<(const char16_t* text) {
        if (text) m_text.append(text);
        return *this;
    }
    /// ASCII text produced by the digit engine and the like.
    CWideOutStream& operator<<(std::string_view ascii) {
        // Widened in place: every number shown passes here, and a push per character would
        // check the capacity for each.
        const size_t old = m_text.size();
        m_text.resize(old + ascii.size());
        for (size_t i = 0; i < ascii.size(); ++i)
            m_text[old + i] = static_cast<char16_t>(static_cast<unsigned char>(ascii[i]));
        return *this;
    }

    const std::u16string& str() const { return m_text; }
    std::u16string take() { return std::move(m_text); }
    size_t size() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }
    void clear() { m_text.clear(); }

private:
    std::u16string m_text;
};

}  // namespace ostrel::platform
