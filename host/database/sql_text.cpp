// SPDX-License-Identifier: Apache-2.0
#include "database/sql_text.h"

#include <cstdint>

namespace ostrel::database {

namespace {

bool IsWordByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

enum class Kind { word, open, close, semicolon, comment, other };

// Calls visit(kind, text, depth) for each token outside literals and quoted names, depth
// being the parentheses open before it. False when a literal, quoted name or block comment
// is left open.
template <class Visit>
bool Scan(std::string_view sql, Visit visit) {
    long depth = 0;
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (IsSpace(c)) {
            ++i;
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            const size_t end = sql.find(close, i + 1);
            if (end == std::string_view::npos) return false;
            visit(Kind::other, sql.substr(i, end + 1 - i), depth);
            i = end + 1;  // a doubled quote is two literals in a row: same tokens
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            const size_t end = sql.find('\n', i);
            visit(Kind::comment, sql.substr(i, 2), depth);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const size_t end = sql.find("*/", i + 2);
            if (end == std::string_view::npos) return false;
            visit(Kind::comment, sql.substr(i, 2), depth);
            i = end + 2;
        } else if (c == '(') {
            visit(Kind::open, sql.substr(i, 1), depth++);
            ++i;
        } else if (c == ')') {
            visit(Kind::close, sql.substr(i, 1), --depth);
            ++i;
        } else if (c == ';') {
            visit(Kind::semicolon, sql.substr(i, 1), depth);
            ++i;
        } else if (IsWordByte(static_cast<unsigned char>(c))) {
            size_t end = i;
            while (end < sql.size() && IsWordByte(static_cast<unsigned char>(sql[end])))
                ++end;
            visit(Kind::word, sql.substr(i, end - i), depth);
            i = end;
        } else {
            visit(Kind::other, sql.substr(i, 1), depth);
            ++i;
        }
    }
    return true;
}

}  // namespace

bool HasOwnOrder(std::string_view sql) {
    bool afterOrder = false;
    bool found = false;
    Scan(sql, [&](Kind kind, std::string_view text, long depth) {
        if (kind == Kind::comment) return;
        const bool word = kind == Kind::word && depth == 0;
        if (afterOrder && word && SameIgnoringCase(text, "by")) found = true;
        afterOrder = word && SameIgnoringCase(text, "order");
    });
    return found;
}

bool IsEnclosableCondition(std::string_view condition) {
    bool ok = true;
    bool any = false;
    long open = 0;
    const bool closed = Scan(condition, [&](Kind kind, std::string_view, long) {
        any = true;
        if (kind == Kind::semicolon || kind == Kind::comment) ok = false;
        if (kind == Kind::open) ++open;
        if (kind == Kind::close && --open < 0) ok = false;
    });
    return closed && ok && any && open == 0;
}

long FindField(const std::vector<std::string>& fields, std::string_view name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (SameIgnoringCase(fields[i], name)) return long(i);
    return -1;
}

bool ParseSort(std::string_view sort, const std::vector<std::string>& fields,
               std::vector<SortKey>& keys, bool& unknownName) {
    keys.clear();
    unknownName = false;
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < sort.size() && IsSpace(sort[i]))
            ++i;
    };
    while (true) {
        skipSpace();
        std::string name;
        if (i < sort.size() && sort[i] == '"') {
            for (++i;; ++i) {
                if (i >= sort.size()) return false;
                if (sort[i] == '"') {
                    if (i + 1 < sort.size() && sort[i + 1] == '"') {
                        name += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                name += sort[i];
            }
        } else {
            while (i < sort.size() && IsWordByte(static_cast<unsigned char>(sort[i])))
                name += sort[i++];
        }
        if (name.empty()) return false;
        const long column = FindField(fields, name);
        if (column < 0) {
            unknownName = true;
            return false;
        }
        SortKey key{size_t(column), false};
        skipSpace();
        size_t end = i;
        while (end < sort.size() && IsWordByte(static_cast<unsigned char>(sort[end])))
            ++end;
        const std::string_view word = sort.substr(i, end - i);
        if (SameIgnoringCase(word, "desc")) {
            key.descending = true;
            i = end;
        } else if (SameIgnoringCase(word, "asc")) {
            i = end;
        } else if (!word.empty()) {
            return false;
        }
        keys.push_back(key);
        skipSpace();
        if (i == sort.size()) return true;
        if (sort[i] != ',') return false;
        ++i;
    }
}

std::string QuoteName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}  // namespace ostrel::database
