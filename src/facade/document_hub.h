// SPDX-License-Identifier: Apache-2.0
// The documents a host opened for each other, by name: the only ones a remote reference can
// reach. A request goes to the document its reference names, a workbook through the sheet
// the item names; a request that a served request makes in turn goes one level deeper, and
// past kMaxDepth levels nothing is delivered, so that documents asking each other back end
// with an error instead of recursing without bound.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/names.h"

class CCRemoteRef;
class CCTransportInterface;

namespace ostrel::host {

class HostWorkbook;

class DocumentHub {
public:
    static constexpr int kMaxDepth = 8;
    // A workbook of the host, or any document that serves requests (one the host built
    // itself, such as a database).
    using Document = std::variant<HostWorkbook*, CCTransportInterface*>;

    // False when the name is empty, begins with "?" (the sheet links' mark) or is taken
    // (ignoring case), or the document is here already under another name.
    bool Add(std::u16string_view name, Document document);
    // Forgets the document under every name; requests for it are no longer delivered.
    void Remove(Document document);
    bool Remove(std::u16string_view name);
    // The document of that name (ignoring case); nullopt-like monostate when none.
    const Document* Find(std::u16string_view name) const;
    bool Has(Document document) const;
    // A name no document has, made from base ("Book", "Book2", ...).
    std::u16string FreeName(std::u16string_view base) const;

    // Carries the request in file to the document the reference names and leaves its answer
    // there; 0 when there is no such document, the depth is exhausted or it did not answer.
    int Carry(const CCRemoteRef* ref, CFile* file);
    int Depth() const { return m_depth; }

private:
    struct Entry {
        std::u16string name;
        Document document;
    };
    std::vector<Entry> m_entries;  // a handful of documents: a walk beats a hash
    int m_depth = 0;
};

}  // namespace ostrel::host
