// SPDX-License-Identifier: Apache-2.0
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include <sys/stat.h>

#include "formats/module_profile.h"
#include "ostrel/platform/utf.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every test starts without a profile file; the test program points the profile at a
// private temporary directory.
class ModuleProfile : public ::testing::Test {
protected:
    void SetUp() override {
        const char* file = std::getenv("OSTREL_CELLS_PROFILE");
        ASSERT_NE(file, nullptr);
        profile = file;
        std::error_code ec;
        fs::remove(profile, ec);
    }
    void TearDown() override {
        ::setenv("OSTREL_CELLS_PROFILE", profile.c_str(), 1);
        ostrel::SetHostRegistryKey(u"");
        InitModuleRegistry();
    }
    fs::path profile;
};

}  // namespace

TEST_F(ModuleProfile, WriteReadAndDelete) {
    EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u"none"), u"none");
    EXPECT_EQ(GetModuleProfileString(u"General", u"Name", nullptr), u"");
    ASSERT_EQ(WriteModuleProfileString(u"General", u"Name", u"first"), 1);
    ASSERT_EQ(WriteModuleProfileString(u"General", u"Other", u"second"), 1);
    ASSERT_EQ(WriteModuleProfileString(u"Print", u"Name", u"third"), 1);
    ASSERT_EQ(WriteModuleProfileString(u"General", u"Name", u"changed"), 1);
    EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u""), u"changed");
    EXPECT_EQ(GetModuleProfileString(u"GENERAL", u"name", u""), u"changed");
    EXPECT_EQ(GetModuleProfileString(u"Print", u"Name", u""), u"third");

    ASSERT_EQ(WriteModuleProfileString(u"General", u"Name", nullptr), 1);
    EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u"gone"), u"gone");
    EXPECT_EQ(GetModuleProfileString(u"General", u"Other", u""), u"second");
    ASSERT_EQ(WriteModuleProfileString(u"General", nullptr, nullptr), 1);
    EXPECT_EQ(GetModuleProfileString(u"General", u"Other", u"gone"), u"gone");
    EXPECT_EQ(GetModuleProfileString(u"Print", u"Name", u""), u"third");
    // Deleting what is not there succeeds; a null section is refused.
    EXPECT_EQ(WriteModuleProfileString(u"Missing", nullptr, nullptr), 1);
    EXPECT_EQ(WriteModuleProfileString(nullptr, u"Name", u"x"), 0);
}

TEST_F(ModuleProfile, ValuesKeepLineFeedsSpacesAndEveryCharacter) {
    const char16_t* values[] = {
        u"kg\ng\n\nm",   u"  padded  ", u"back\\slash\\n", u"a=b;c", u"\u00e4\u20ac\U0001F600",
        u"tab\there\r\n"};
    for (const char16_t* value : values) {
        ASSERT_EQ(WriteModuleProfileString(u"Texts", u"Value", value), 1);
        EXPECT_EQ(GetModuleProfileString(u"Texts", u"Value", u""), value);
    }
    const char16_t* keys[] = {u"[odd", u";odd", u"a=b", u" spaced "};
    for (const char16_t* key : keys) {
        ASSERT_EQ(WriteModuleProfileString(u"Keys", key, u"v"), 1);
        EXPECT_EQ(GetModuleProfileString(u"Keys", key, u""), u"v") << ostrel::ToUtf8(key);
    }
    // Every key is still there: none of them read back as a comment or a header.
    for (const char16_t* key : keys)
        EXPECT_EQ(GetModuleProfileString(u"Keys", key, u""), u"v");
}

TEST_F(ModuleProfile, Integers) {
    ASSERT_EQ(WriteModuleProfileInt(u"General", u"Count", -42), 1);
    EXPECT_EQ(GetModuleProfileInt(u"General", u"Count", 7), -42);
    EXPECT_EQ(GetModuleProfileString(u"General", u"Count", u""), u"-42");
    EXPECT_EQ(GetModuleProfileInt(u"General", u"Missing", 7), 7);
    const std::pair<const char16_t*, int> cases[] = {
        {u"12 apples", 12}, {u"+5", 5}, {u"apples", 7},      {u"", 7},
        {u"+-5", 7},        {u"-", 7},  {u"99999999999", 7}, {u"2147483647", 2147483647}};
    for (auto [text, expected] : cases) {
        WriteModuleProfileString(u"General", u"Count", text);
        EXPECT_EQ(GetModuleProfileInt(u"General", u"Count", 7), expected) << ostrel::ToUtf8(text);
    }
}

TEST_F(ModuleProfile, UnknownLinesAndCommentsSurviveAWrite) {
    {
        std::ofstream out(profile);
        out << "; written by hand\n[General]\nno equals sign here\nName = spaced \n\n[Other]\n"
               "x=1\n";
    }
    EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u""), u"spaced");
    ASSERT_EQ(WriteModuleProfileString(u"General", u"Added", u"yes"), 1);
    EXPECT_EQ(ReadFile(profile),
              "; written by hand\n[General]\nno equals sign here\nName = spaced \nAdded=yes\n\n"
              "[Other]\nx=1\n");
    // The save went through a temporary file that is gone afterwards.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(profile.parent_path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(ModuleProfile, AProfileThatCannotBeWrittenOrReadFails) {
    fs::path dir = profile.parent_path();
    {
        std::ofstream out(dir / "plain-file");
        out << "x";
    }
    ::setenv("OSTREL_CELLS_PROFILE", (dir / "plain-file" / "profile.ini").c_str(), 1);
    EXPECT_EQ(WriteModuleProfileString(u"General", u"Name", u"x"), 0);
    EXPECT_EQ(WriteModuleProfileInt(u"General", u"Name", 1), 0);

    fs::create_directories(dir / "a-directory");
    ::setenv("OSTREL_CELLS_PROFILE", (dir / "a-directory").c_str(), 1);
    EXPECT_EQ(WriteModuleProfileString(u"General", u"Name", u"x"), 0);
    EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u"default"), u"default");
    EXPECT_EQ(GetModuleProfileInt(u"General", u"Name", 3), 3);
    fs::remove(dir / "plain-file");
    fs::remove(dir / "a-directory");
}

// A file that is not a profile reads as the defaults and is never replaced by a write.
TEST_F(ModuleProfile, EndlessHugeOrBinaryFilesAreRefusedAndKept) {
    // Endless or blocking files are refused without waiting for their end.
    fs::path fifo = profile.parent_path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const char* file : {"/dev/zero", fifo.c_str()}) {
        ::setenv("OSTREL_CELLS_PROFILE", file, 1);
        EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u"default"), u"default") << file;
        EXPECT_EQ(GetModuleProfileInt(u"General", u"Count", 3), 3) << file;
        EXPECT_EQ(WriteModuleProfileString(u"General", u"Name", u"x"), 0) << file;
    }
    fs::remove(fifo);
    ::setenv("OSTREL_CELLS_PROFILE", profile.c_str(), 1);

    // Each file holds General/Name=kept; the limits are inclusive.
    const std::string head = "[General]\nName=kept\n";
    auto padded = [&](size_t size) {  // one comment line filling the file to size bytes
        return head + "; " + std::string(size - head.size() - 3, 'x') + "\n";
    };
    auto lines = [&](size_t count) { return head + std::string(count - 2, '\n'); };
    const std::pair<std::string, bool> cases[] = {
        {padded(ostrel::CIniFile::kMaxBytes), true},
        {padded(ostrel::CIniFile::kMaxBytes + 1), false},
        {lines(ostrel::CIniFile::kMaxLines), true},
        {lines(ostrel::CIniFile::kMaxLines + 1), false},
        {head + std::string("; a NUL \0 byte\n", 16), false},
    };
    for (const auto& [text, readable] : cases) {
        {
            std::ofstream out(profile, std::ios::binary | std::ios::trunc);
            out << text;
        }
        ASSERT_EQ(fs::file_size(profile), text.size());
        EXPECT_EQ(GetModuleProfileString(u"General", u"Name", u"default"),
                  readable ? u"kept" : u"default")
            << text.size();
        if (readable) continue;
        EXPECT_EQ(WriteModuleProfileString(u"General", u"Name", u"new"), 0);
        EXPECT_EQ(WriteModuleProfileString(u"General", nullptr, nullptr), 0);
        EXPECT_TRUE(ReadFile(profile) == text) << text.size();
    }
}

TEST_F(ModuleProfile, LocationFollowsTheHostKey) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(xdg, nullptr);
    fs::path config = xdg;
    EXPECT_EQ(ostrel::ProfilePath(u"", u"Ostrel Cells"), profile);

    ::unsetenv("OSTREL_CELLS_PROFILE");
    EXPECT_EQ(ostrel::ProfilePath(u"", u"Ostrel Cells"), config / "Ostrel Cells.ini");
    EXPECT_EQ(ostrel::ProfilePath(u"Acme\\Suite", u"Ostrel Cells"),
              config / "Acme" / "Suite" / "Ostrel Cells.ini");
    EXPECT_EQ(ostrel::ProfilePath(u"../../etc/./x", u"N"), config / "etc" / "x" / "N.ini");

    // InitModuleRegistry takes the host key as it is then; directories are created.
    ostrel::SetHostRegistryKey(u"Acme/Suite");
    InitModuleRegistry();
    ostrel::SetHostRegistryKey(u"Later");
    ASSERT_EQ(WriteModuleProfileString(u"General", u"Name", u"v"), 1);
    fs::path expected = config / "Acme" / "Suite" / "Ostrel Cells.ini";
    EXPECT_EQ(ReadFile(expected), "[General]\nName=v\n");
    EXPECT_FALSE(fs::exists(config / "Later"));
    fs::remove_all(config / "Acme");
}

TEST(IniFile, FirstOfEqualSectionsAndKeysIsRead) {
    ostrel::CIniFile ini;
    ini.Parse("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
    EXPECT_EQ(ini.Get("A", "k"), "1");
    EXPECT_EQ(ini.Get("a", "j"), "5");
    EXPECT_EQ(ini.Get("B", "K"), "3");
    EXPECT_FALSE(ini.Get("C", "k"));
    EXPECT_TRUE(ini.RemoveKey("A", "k"));  // in every section named A
    EXPECT_EQ(ini.Get("B", "k"), "3");
    EXPECT_EQ(ini.Text(), "[A]\n[B]\nk=3\n[a]\nj=5\n");
    EXPECT_TRUE(ini.RemoveSection("a"));
    EXPECT_FALSE(ini.RemoveSection("a"));
    EXPECT_EQ(ini.Text(), "[B]\nk=3\n");
}
