// SPDX-License-Identifier: Apache-2.0
/// \file
/// A format code held as a number into a process-wide table of distinct codes, so that every
/// number format (one per cell value) stays small and equal codes compare in one step. Codes
/// are never removed from the table while the engine runs.
#pragma once

#include <cstdint>
#include <string_view>

#include "ostrel/export.h"
#include "ostrel/platform/string_types.h"

class OSTREL_API CInternedCode {
public:
    CInternedCode() = default;
    CInternedCode& operator=(std::u16string_view code) {
        m_id = Intern(code);
        return *this;
    }

    const ostrel::platform::CString& str() const { return Text(m_id); }
    operator const ostrel::platform::CString&() const { return str(); }
    operator std::u16string_view() const { return str(); }
    bool empty() const { return m_id == 0; }
    void clear() { m_id = 0; }

    friend bool operator==(const CInternedCode& a, const CInternedCode& b) {
        return a.m_id == b.m_id;
    }
    friend bool operator==(const CInternedCode& a, std::u16string_view b) { return a.str() == b; }

private:
    static uint32_t Intern(std::u16string_view code);
    static const ostrel::platform::CString& Text(uint32_t id);

    uint32_t m_id = 0;  // 0 is the empty code
};
