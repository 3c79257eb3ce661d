// SPDX-License-Identifier: Apache-2.0
// Locales and helpers shared by the number format tests.
#pragma once

#include <memory>
#include <string>

#include "formats/format_code_cache.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/platform/zmk/legacy_locale_context.h"
#include "platform/names.h"

namespace nf_test {

// A locale made by hand, alive as long as the object.
class TestLocale {
public:
    explicit TestLocale(zmk::multilang::LocaleData data)
        : m_info(std::move(data)), m_context(&m_info), m_lctx{&m_context} {}
    cells::LCTX* get() { return &m_lctx; }

private:
    zmk::multilang::CLocaleInfo m_info;
    zmk::multilang::CLegacyLocaleContext m_context;
    cells::LCTX m_lctx;
};

// German conventions: decimal comma, point grouping, euro after the amount (orders 3 and
// 8), day-first dates with points, 24-hour clock.
inline zmk::multilang::LocaleData GermanData() {
    zmk::multilang::LocaleData d;
    d.name = "de_DE";
    d.numberDecimalSeparator = u',';
    d.numberGroupSeparator = u'.';
    d.numberPrecision = 3;
    d.currencyDecimalSeparator = u',';
    d.currencyGroupSeparator = u'.';
    d.currencyPrecision = 2;
    d.currencyString = u"\u20AC";
    d.currencyPositiveOrder = 3;
    d.currencyNegativeOrder = 8;
    d.listSeparator = u';';
    d.dateSeparator = u'.';
    d.dateOrder = 1;
    d.defaultDateFormat = 0x80 | 0x10;  // day first, month in digits, full year
    d.longMonths = {u"Januar", u"Februar", u"M\u00E4rz", u"April",   u"Mai",      u"Juni",
                    u"Juli",   u"August",  u"September", u"Oktober", u"November", u"Dezember"};
    d.timeRange = 24;
    d.languageId = u"0407";
    return d;
}

inline std::string Utf8(const std::u16string& text) {
    return ostrel::ToUtf8(text);
}

inline std::string Print(const CCNumberFormat& f, double value, cells::LCTX* lctx = nullptr,
                         int full = 0) {
    CWideOutStream out;
    f.Print(lctx ? lctx : cells::invariant_LCTX(), out, value, full);
    return Utf8(out.str());
}

// A classic format of a kind with its precision, grouping and negative brackets.
inline CCNumberFormat Make(unsigned char kind, int precision = 0, bool commas = false,
                           bool brackets = false) {
    CCNumberFormat f(kind);
    f.SetPrecision(precision);
    f.SetCommas(commas);
    f.SetNegBr(brackets);
    return f;
}

inline CCNumberFormat Custom(std::u16string_view code) {
    CCNumberFormat f;
    f.setCustomFormat(code);
    return f;
}

// A stand-in for the format-code parser: category from the code's first character ('%'
// percent, 'd' date, anything else plain) and a render that shows code and value.
class FakeParsedCode : public CParsedFormatCode {
public:
    explicit FakeParsedCode(std::u16string_view code) : m_code(code) {}
    unsigned char Category() const override {
        if (m_code.empty()) return 0;
        return m_code[0] == u'%' ? C_NF_PERCENT : m_code[0] == u'd' ? C_NF_DATE : 0;
    }
    void Render(cells::LCTX*, double value, CWideOutStream& out) const override {
        out << u'<' << m_code << u'|' << std::string_view(std::to_string(int(value))) << u'>';
    }

private:
    std::u16string m_code;
};

inline std::unique_ptr<CParsedFormatCode> FakeParser(std::u16string_view code) {
    return std::make_unique<FakeParsedCode>(code);
}

// A live cache with the stand-in parser for the duration of a test; the engine's cache
// and parser come back afterwards.
class CacheWithFakeParser {
public:
    CacheWithFakeParser() : m_existed(CFormatCodeCache::Exists()) {
        CFormatCodeCache::Create();
        m_previous = CFormatCodeCache::SetParser(&FakeParser);
    }
    ~CacheWithFakeParser() {
        CFormatCodeCache::SetParser(m_previous);
        if (!m_existed) CFormatCodeCache::Destroy();
    }

private:
    bool m_existed;
    FormatCodeParser m_previous = nullptr;
};

}  // namespace nf_test
