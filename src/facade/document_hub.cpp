// SPDX-License-Identifier: Apache-2.0
#include "facade/document_hub.h"

#include "facade/host_workbook.h"
#include "ostrel/refs/remote_ref.h"
#include "ostrel/remote/transport_interface.h"
#include "platform/text/unicode.h"

namespace ostrel::host {

bool DocumentHub::Add(std::u16string_view name, Document document) {
    if (name.empty() || name.front() == u'?' || Find(name) || Has(document)) return false;
    if (std::visit([](auto* d) { return d == nullptr; }, document)) return false;
    m_entries.push_back(Entry{std::u16string(name), document});
    return true;
}

void DocumentHub::Remove(Document document) {
    std::erase_if(m_entries, [&](const Entry& e) { return e.document == document; });
}

bool DocumentHub::Remove(std::u16string_view name) {
    return std::erase_if(m_entries,
                         [&](const Entry& e) { return text::SameIgnoringCase(e.name, name); }) != 0;
}

const DocumentHub::Document* DocumentHub::Find(std::u16string_view name) const {
    for (const Entry& e : m_entries)
        if (text::SameIgnoringCase(e.name, name)) return &e.document;
    return nullptr;
}

bool DocumentHub::Has(Document document) const {
    for (const Entry& e : m_entries)
        if (e.document == document) return true;
    return false;
}

std::u16string DocumentHub::FreeName(std::u16string_view base) const {
    std::u16string name(base);
    for (int n = 2; Find(name); ++n) {
        name.assign(base);
        for (char c : std::to_string(n))
            name += char16_t(c);
    }
    return name;
}

int DocumentHub::Carry(const CCRemoteRef* ref, CFile* file) {
    if (!ref || !file || m_depth >= kMaxDepth) return 0;
    const Document* found = Find(ref->GetDocument());
    if (!found) return 0;
    struct Level {
        int& depth;
        explicit Level(int& d) : depth(d) { ++depth; }
        ~Level() { --depth; }
    } level(m_depth);
    if (HostWorkbook* const* book = std::get_if<HostWorkbook*>(found)) {
        HostSheet* first = (*book)->SheetAt(1);
        return first ? (*book)->TransportFile(first->GetCTX(), file) : 0;
    }
    return std::get<CCTransportInterface*>(*found)->OnTransport(file);
}

}  // namespace ostrel::host
