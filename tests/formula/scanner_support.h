// SPDX-License-Identifier: Apache-2.0
// Locales, a context and helpers shared by the scanner tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/ctx.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/zmk/environment.h"

namespace scan_test {

// A locale context over a locale description, alive as long as the object.
class Locale {
public:
    explicit Locale(const zmk::multilang::CLocaleInfo* info)
        : m_context(info), m_lctx{&m_context} {}
    cells::LCTX* get() { return &m_lctx; }

private:
    zmk::multilang::CLegacyLocaleContext m_context;
    cells::LCTX m_lctx;
};

// The conventions the typing examples are written for: "." decimal, "," groups of 3, "/"
// between day, month and year (day first, year last) and "$".
inline const zmk::multilang::CLocaleInfo* DayFirstInfo() {
    static const zmk::multilang::CLocaleInfo info = [] {
        zmk::multilang::LocaleData d;
        d.name = "en_GB";
        d.dateOrder = 1;
        return zmk::multilang::CLocaleInfo(d);
    }();
    return &info;
}

inline Locale& Invariant() {
    static Locale locale(zmk::globals::global_environment().locales_cache().invariant());
    return locale;
}
inline Locale& DayFirst() {
    static Locale locale(DayFirstInfo());
    return locale;
}
// Types "1.234,5": "," decimal, "." groups and dates, day first, "€", 24-hour clock.
inline Locale& German() {
    static Locale locale(zmk::globals::global_environment().locales_cache().get("de_DE"));
    return locale;
}

// A context with a chosen locale and no manager.
class Ctx : public cells::CTX {
public:
    explicit Ctx(cells::LCTX* lctx) : m_lctx(lctx) {}
    cells::LCTX* GetLCTX() override { return m_lctx; }
    CCCellManager* GetManager() override { return nullptr; }

private:
    cells::LCTX* m_lctx;
};

// The text copied into an allocation of exactly its length plus the terminator, so that a
// read past the terminator is caught by the address sanitizer.
class Text {
public:
    explicit Text(std::u16string_view text)
        : m_size(text.size()), m_data(new char16_t[text.size() + 1]) {
        std::copy(text.begin(), text.end(), m_data.get());
        m_data[m_size] = 0;
    }
    char16_t* get() { return m_data.get(); }

private:
    size_t m_size;
    std::unique_ptr<char16_t[]> m_data;
};

// What a value scanner did: whether it succeeded, how far it moved, and the value.
struct Scanned {
    int ok = 0;
    long consumed = 0;
    CCCellValue value;
    // Whether it succeeded, how far it moved, the number it read and its format's kind.
    std::tuple<int, long, double, int> Read() const {
        return {ok, consumed, value.GetNumber(), value.GetFormat().getType()};
    }
};

// Runs a read-only value scanner over a copy of text.
template <typename Scan>
Scanned Run(std::u16string_view text, Scan scan) {
    Text copy(text);
    const char16_t* start = copy.get();
    const char16_t* cursor = start;
    Scanned out;
    out.ok = scan(cursor, out.value);
    out.consumed = cursor - start;
    return out;
}

inline std::string U8(std::u16string_view text) {
    return ostrel::ToUtf8(text);
}

inline int CurrentYear() {
    int d = 0, m = 0, y = 0;
    GetCurrentDate(d, m, y);
    return y;
}

}  // namespace scan_test
