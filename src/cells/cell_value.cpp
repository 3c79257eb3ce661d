// SPDX-License-Identifier: Apache-2.0
#include "ostrel/cells/cell_value.h"

#include <cmath>
#include <cstring>
#include <string>

#include "formats/string_field.h"
#include "formats/text_helpers.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref.h"
#include "platform/names.h"

char16_t CCCellValue::m_chSpecial = u'^';

namespace {

constexpr double kEpsilon = 2.220446049250313e-16;

char16_t* Duplicate(const char16_t* text) {
    if (!text) return nullptr;
    size_t length = std::char_traits<char16_t>::length(text);
    auto* copy = new char16_t[length + 1];
    std::memcpy(copy, text, (length + 1) * sizeof(char16_t));
    return copy;
}

char16_t* Duplicate(std::u16string_view text) {
    auto* copy = new char16_t[text.size() + 1];
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = 0;
    return copy;
}

cells::LCTX* LocaleOf(cells::CTX* ctx) {
    cells::LCTX* lctx = ctx ? ctx->GetLCTX() : nullptr;
    return lctx && lctx->lctx ? lctx : cells::invariant_LCTX();
}

}  // namespace

// Every value starts with the General format in its default state, which is what a format's
// own initialisers give: a value is made for every cell read, so nothing more is done here.
CCCellValue::CCCellValue(int errorCode) : m_number(0.0), m_type(CV_ERROR) {
    m_error = errorCode;
}

CCCellValue::CCCellValue(const char16_t* text) : m_number(0.0), m_type(CV_TEXT) {
    m_text = Duplicate(text);
}

CCCellValue::CCCellValue(const CCRef* ref) : m_number(0.0), m_type(CV_REF) {
    m_ref = ref ? ref->Copy() : nullptr;
}

CCCellValue::CCCellValue(const VARIANT& variant) : m_number(0.0) {
    Set(variant);
}

void CCCellValue::CopyOwned(const CCCellValue& other) {
    if (other.m_type == CV_TEXT)
        m_text = Duplicate(other.m_text);
    else
        m_ref = other.m_ref ? other.m_ref->Copy() : nullptr;
    m_type = other.m_type;
}

void CCCellValue::Release() {
    if (m_type == CV_TEXT)
        delete[] m_text;
    else if (m_type == CV_REF)
        delete m_ref;
    m_type = CV_EMPTY;
    m_number = 0.0;
}

void CCCellValue::Set() {
    Release();
}

void CCCellValue::Set(int errorCode) {
    Release();
    m_type = CV_ERROR;
    m_error = errorCode;
}

void CCCellValue::Set(const char16_t* text) {
    // The text may be this value's own: copy before releasing.
    char16_t* copy = Duplicate(text);
    Release();
    m_type = CV_TEXT;
    m_text = copy;
}

void CCCellValue::Set(std::u16string_view text) {
    char16_t* copy = Duplicate(text);
    Release();
    m_type = CV_TEXT;
    m_text = copy;
}

void CCCellValue::Set(const CCRef* ref) {
    CCRef* copy = ref ? ref->Copy() : nullptr;
    Release();
    m_type = CV_REF;
    m_ref = copy;
}

void CCCellValue::Set(double number, unsigned char kind) {
    Set(number);
    m_format.Set(kind);
}

void CCCellValue::Set(double number, const CCNumberFormat& format) {
    Set(number);
    m_format = format;
}

void CCCellValue::Set(const CCNumberFormat& format) {
    m_format = format;
}

void CCCellValue::SetOwned(const CCCellValue& other) {
    if (other.m_type == CV_TEXT)
        Set(other.m_text);
    else
        Set(static_cast<const CCRef*>(other.m_ref));
    m_format = other.m_format;
}

bool CCCellValue::IsTrue() const {
    switch (m_type) {
        case CV_NUMBER:
            return m_number != 0.0;  // NaN counts as true
        case CV_TEXT:
            return m_text && m_text[0] != 0;
        case CV_REF:
            return true;
        default:
            return false;
    }
}

bool CCCellValue::IsEqual(const CCCellValue& other) const {
    if (m_type != other.m_type) return false;
    switch (m_type) {
        case CV_EMPTY:
            return true;
        case CV_ERROR:
            return m_error == other.m_error;
        case CV_TEXT:
            if (!m_text || !other.m_text) return !m_text && !other.m_text;
            return StrColl(m_text, other.m_text, 1) == 0;
        case CV_NUMBER:
            return std::fabs(m_number - other.m_number) < kEpsilon &&
                   m_format.IsEqual(cells::invariant_LCTX(), other.m_format);
        default:
            return false;
    }
}

void CCCellValue::Print(cells::CTX* ctx, CWideOutStream& out, int flags) const {
    switch (m_type) {
        case CV_ERROR:
            out << ostrel::LoadResourceString(13381u + static_cast<unsigned>(m_error));
            break;
        case CV_TEXT:
            if (!m_text) break;
            if (flags & 2) {
                for (const char16_t* p = m_text; *p; ++p) {
                    if (*p == u'"' || *p == m_chSpecial) out << m_chSpecial;
                    out << *p;
                }
            } else {
                out << m_text;
            }
            break;
        case CV_NUMBER:
            if (std::isfinite(m_number))
                m_format.Print(LocaleOf(ctx), out, m_number, flags & 1);
            else
                out << ostrel::LoadResourceString(13384);
            break;
        default:
            break;
    }
}

void CCCellValue::Write(cells::CTX* ctx, CArchive& ar) const {
    uint8_t type = m_type <= CV_REF ? m_type : uint8_t(CV_EMPTY);
    ar << type;
    switch (type) {
        case CV_ERROR:
            ar << int32_t(m_error);
            break;
        case CV_TEXT:
            WriteString(ctx, ar, m_text);
            break;
        case CV_NUMBER:
            ar << m_number;
            m_format.Write(ar);
            break;
        default:
            break;
    }
}

void CCCellValue::Read(cells::CTX* ctx, CArchive& ar) {
    Release();
    uint8_t type;
    ar >> type;
    switch (type) {
        case CV_EMPTY:
            break;
        case CV_ERROR: {
            int32_t code;
            ar >> code;
            Set(int(code));
            break;
        }
        case CV_TEXT: {
            char16_t* text = ReadString(ctx, ar);
            m_type = CV_TEXT;
            m_text = text;
            break;
        }
        case CV_NUMBER: {
            double number;
            ar >> number;
            CCNumberFormat format;
            format.Read(ar);
            Set(number, format);
            break;
        }
        case CV_REF:
            // References travel in formulas, not in values.
            m_type = CV_REF;
            m_ref = nullptr;
            break;
        default:
            throw CArchiveException(CArchiveException::badFormat);
    }
}
