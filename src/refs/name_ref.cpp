// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/name_ref.h"

#include <cstring>

#include "formats/string_field.h"
#include "formats/text_helpers.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

namespace {
std::unique_ptr<char16_t[]> Duplicate(const char16_t* text, size_t length) {
    auto copy = std::make_unique<char16_t[]>(length + 1);
    std::copy(text, text + length, copy.get());
    copy[length] = 0;
    return copy;
}
size_t Length(const char16_t* text) {
    return std::char_traits<char16_t>::length(text);
}
}  // namespace

CCNameRef::CCNameRef(const char16_t* name) {
    SetName(name);
}

CCNameRef::CCNameRef(const char16_t* name, size_t length) {
    if (name) m_name = Duplicate(name, length);
}

CCNameRef::CCNameRef(const CCNameRef& other) : CCRef(other) {
    SetName(other.GetName());
}

CCNameRef& CCNameRef::operator=(const CCNameRef& other) {
    if (this != &other) SetName(other.GetName());
    return *this;
}

void CCNameRef::SetName(const char16_t* name) {
    m_name = name ? Duplicate(name, Length(name)) : nullptr;
}

int AreNameEqual(const CCNameRef& a, const CCNameRef& b) {
    if (!a.GetName() || !b.GetName()) return !a.GetName() && !b.GetName();
    return StrColl(a.GetName(), b.GetName(), 0) == 0;
}

int CCNameRef::IsEqual(const CCRef* other) const {
    return other && other->GetType() == REF_TYPE_NAME &&
           AreNameEqual(*this, *static_cast<const CCNameRef*>(other));
}

void CCNameRef::Print(cells::CTX*, CWideOutStream& out, unsigned char) const {
    out << m_name.get();
}

int CCNameRef::IsSingleValue(cells::CTX* ctx) const {
    CCCellManager* m = ctx ? ctx->GetManager() : nullptr;
    return m ? m->IsSingleValue(this) : 0;
}

void CCNameRef::Read(cells::CTX* ctx, CArchive& ar) {
    m_name.reset(ReadString(ctx, ar));
}

void CCNameRef::Write(cells::CTX* ctx, CArchive& ar) const {
    WriteString(ctx, ar, m_name.get());
}

int CCNameRef::Compare(const CCRef* other) const {
    if (!other || other->GetType() != REF_TYPE_NAME) return 1;
    const char16_t* a = m_name.get();
    const char16_t* b = static_cast<const CCNameRef*>(other)->m_name.get();
    if (!a || !b) return 1;
    for (; *a || *b; ++a, ++b) {
        if (*a != *b) return *a > *b ? -1 : 1;
    }
    return 0;
}
