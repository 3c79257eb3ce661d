// SPDX-License-Identifier: Apache-2.0
#include "platform/profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ostrel/platform/utf.h"

namespace ostrel {

namespace {

std::u16string g_hostKey;

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char next = s[i + 1];
        switch (next) {
            case '\\':
                out += '\\';
                ++i;
                break;
            case 'n':
                out += '\n';
                ++i;
                break;
            case 'r':
                out += '\r';
                ++i;
                break;
            case 't':
                out += '\t';
                ++i;
                break;
            case 'x':
                if (i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 3]) >= 0) {
                    out += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
                    i += 3;
                    break;
                }
                out += '\\';
                break;
            default:
                out += '\\';
                break;  // an unknown escape stays as written
        }
    }
    return out;
}

// Escapes what the line syntax would otherwise lose: line breaks, backslashes, spaces and
// tabs at either end (which reading trims), and the characters in special.
std::string Escape(std::string_view s, std::string_view special) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        bool atEnd = i == 0 || i + 1 == s.size();
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if ((c == ' ' && atEnd) || special.find(c) != std::string_view::npos ||
                   static_cast<unsigned char>(c) < 0x20) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string EscapeKey(std::string_view key) {
    std::string out = Escape(key, "=");
    // A key must not read back as a comment or a section header.
    if (!out.empty() && (out[0] == ';' || out[0] == '#' || out[0] == '['))
        out = (out[0] == ';' ? "\\x3B" : out[0] == '#' ? "\\x23" : "\\x5B") + out.substr(1);
    return out;
}

std::filesystem::path ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config";
    struct passwd pw;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && pw.pw_dir)
        return std::filesystem::path(pw.pw_dir) / ".config";
    return ".config";
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

void SetHostRegistryKey(std::u16string key) {
    g_hostKey = std::move(key);
}

const std::u16string& GetHostRegistryKey() {
    return g_hostKey;
}

std::filesystem::path ProfilePath(std::u16string_view hostKey, std::u16string_view name) {
    if (const char* file = std::getenv("OSTREL_CELLS_PROFILE"); file && *file) return file;
    std::filesystem::path path = ConfigHome();
    // Each level of the key is one directory; levels that would leave the configuration
    // directory are dropped.
    std::string key = ToUtf8(hostKey);
    size_t start = 0;
    while (start <= key.size()) {
        size_t end = key.find_first_of("/\\", start);
        if (end == std::string::npos) end = key.size();
        std::string level = key.substr(start, end - start);
        if (!level.empty() && level != "." && level != "..") path /= level;
        start = end + 1;
    }
    return path / (ToUtf8(name) + ".ini");
}

void CIniFile::Parse(std::string_view text) {
    m_lines.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

        Line line;
        line.raw = std::string(raw);
        std::string_view t = Trim(raw);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            line.kind = Kind::section;
            line.name = Unescape(Trim(t.substr(1, t.size() - 2)));
        } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
            size_t eq = t.find('=');
            if (eq != std::string_view::npos && eq > 0) {
                line.kind = Kind::entry;
                line.name = Unescape(Trim(t.substr(0, eq)));
                line.value = Unescape(Trim(t.substr(eq + 1)));
            }
        }
        m_lines.push_back(std::move(line));
    }
}

std::string CIniFile::Text() const {
    std::string out;
    for (const Line& line : m_lines) {
        out += line.raw;
        out += '\n';
    }
    return out;
}

bool CIniFile::Load(const std::filesystem::path& path) {
    m_lines.clear();
    // Without blocking, so that a FIFO is refused below instead of waiting for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) > kMaxBytes)
        return false;
    // The size is checked again while reading: the file may grow after fstat.
    std::string text;
    char buffer[8192];
    while (text.size() <= kMaxBytes) {
        size_t want = std::min(sizeof buffer, kMaxBytes + 1 - text.size());
        ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    if (text.size() > kMaxBytes || text.find('\0') != std::string::npos) return false;
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++lines;
    if (lines > kMaxLines) return false;
    Parse(text);
    return true;
}

bool CIniFile::Save(const std::filesystem::path& path) const {
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) return false;
    }
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, Text()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

size_t CIniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::section && SameName(m_lines[i].name, section)) return i;
    return std::string::npos;
}

size_t CIniFile::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::section)
        ++i;
    return i;
}

std::optional<std::string> CIniFile::Get(std::string_view section, std::string_view key) const {
    for (size_t header = 0; header < m_lines.size(); ++header) {
        if (m_lines[header].kind != Kind::section || !SameName(m_lines[header].name, section))
            continue;
        size_t end = SectionEnd(header);
        for (size_t i = header + 1; i < end; ++i)
            if (m_lines[i].kind == Kind::entry && SameName(m_lines[i].name, key))
                return m_lines[i].value;
    }
    return std::nullopt;
}

void CIniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    Line entry;
    entry.kind = Kind::entry;
    entry.name = std::string(key);
    entry.value = std::string(value);
    entry.raw = EscapeKey(key) + "=" + Escape(value, "");

    for (size_t header = 0; header < m_lines.size(); ++header) {
        if (m_lines[header].kind != Kind::section || !SameName(m_lines[header].name, section))
            continue;
        size_t end = SectionEnd(header);
        for (size_t i = header + 1; i < end; ++i) {
            if (m_lines[i].kind == Kind::entry && SameName(m_lines[i].name, key)) {
                m_lines[i] = std::move(entry);
                return;
            }
        }
    }

    size_t header = FindSection(section);
    if (header == std::string::npos) {
        // A blank line keeps a new section apart from the one before it.
        if (!m_lines.empty() && !Trim(m_lines.back().raw).empty()) m_lines.push_back(Line{});
        Line head;
        head.kind = Kind::section;
        head.name = std::string(section);
        head.raw = "[" + Escape(section, "[]") + "]";
        m_lines.push_back(std::move(head));
        m_lines.push_back(std::move(entry));
        return;
    }
    // Append after the section's last entry, before the blank lines that separate it.
    size_t at = SectionEnd(header);
    while (at > header + 1 && m_lines[at - 1].kind == Kind::other &&
           Trim(m_lines[at - 1].raw).empty())
        --at;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

bool CIniFile::RemoveKey(std::string_view section, std::string_view key) {
    bool removed = false;
    bool inSection = false;
    std::vector<Line> kept;
    kept.reserve(m_lines.size());
    for (Line& line : m_lines) {
        if (line.kind == Kind::section) inSection = SameName(line.name, section);
        if (inSection && line.kind == Kind::entry && SameName(line.name, key)) {
            removed = true;
            continue;
        }
        kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    return removed;
}

bool CIniFile::RemoveSection(std::string_view section) {
    bool removed = false;
    bool inSection = false;
    std::vector<Line> kept;
    kept.reserve(m_lines.size());
    for (Line& line : m_lines) {
        if (line.kind == Kind::section) inSection = SameName(line.name, section);
        if (inSection) {
            removed = true;
            continue;
        }
        kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    return removed;
}

}  // namespace ostrel
