// SPDX-License-Identifier: Apache-2.0
// Where the engine keeps persistent options: the host application's key, the profile file
// it selects, and a small INI reader and writer for that file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// The host application's key ("Company/Product"); empty when the host has none. The host
// sets it before the engine starts; a backslash separates levels as a slash does.
void SetHostRegistryKey(std::u16string key);
const std::u16string& GetHostRegistryKey();

// The profile file of a profile name: $OSTREL_CELLS_PROFILE when set; otherwise
// <config>/<host key>/<name>.ini, or <config>/<name>.ini without a host key, where <config>
// is $XDG_CONFIG_HOME, by default ~/.config.
std::filesystem::path ProfilePath(std::u16string_view hostKey, std::u16string_view name);

// An INI file held in memory: "[section]" lines, "key=value" lines, comments and blank
// lines. Lines it does not understand are kept as they are. Sections and keys match
// without regard to ASCII case; the first of several equal sections or keys is the one
// read. Texts are UTF-8; backslash escapes (\\ \n \r \t \xHH) let a value hold line feeds
// and keep its surrounding spaces.
class CIniFile {
public:
    // The most a profile may hold. The engine keeps a few short options in it, so a file
    // past these is not a profile of ours (or never ends, as a device does).
    static constexpr size_t kMaxBytes = size_t(1) << 20;
    static constexpr size_t kMaxLines = 65536;

    // A missing file reads as empty. False when the file exists but cannot be read or is
    // not a profile: not a regular file, more than kMaxBytes or kMaxLines, or holding a NUL
    // byte. Nothing past kMaxBytes is read. Callers leave a file they could not load alone.
    bool Load(const std::filesystem::path& path);
    // Writes a temporary file beside the target and renames it over the target, creating
    // the directories on the way. False when any step fails; the old file then stays.
    bool Save(const std::filesystem::path& path) const;

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // True when something was removed.
    bool RemoveKey(std::string_view section, std::string_view key);
    bool RemoveSection(std::string_view section);

    std::string Text() const;
    void Parse(std::string_view text);

private:
    enum class Kind { other, section, entry };
    struct Line {
        Kind kind = Kind::other;
        std::string raw;    // the line as read, for lines kept as they are
        std::string name;   // section name or key, unescaped
        std::string value;  // unescaped value
    };

    // The index of the first header of section, or npos.
    size_t FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at index.
    size_t SectionEnd(size_t header) const;

    std::vector<Line> m_lines;
};

}  // namespace ostrel
