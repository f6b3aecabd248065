// Profile strings in real files: how names, spacing, quotes, comments, repeats and line ends
// are read; the 260-byte buffer, multi-byte characters at the cut and paths that are not
// regular files; writing that keeps the rest of the file and refuses what cannot be stored.
// (NUL bytes and byte order marks are in the profile fuzzer's corpus.)
#include "platform/profile/ProfileString.h"
#include "platform/profile/ProfileText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using platform::GetPrivateProfileString;
using platform::kProfileBufferBytes;
using platform::WritePrivateProfileString;

class ProfileTest : public ::testing::Test {
protected:
    std::string ReadValue(const std::string& value) {
        const std::string path = m_folder.Write("long.ini", "[s]\nk=" + value + "\nnext=ok\n");
        return GetPrivateProfileString("s", "k", "<default>", path);
    }

    testsupport::TempFolder m_folder;
};

struct ReadCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::string expected; // "<default>" when the look-up must find nothing
};

TEST_F(ProfileTest, FileTextsReadAsWindowsProfilesDo) {
    const std::string quotes = "[s]\n"
                               "double=\"  padded  \"\n"
                               "single='Track '\n"
                               "nested=\"'inner'\"\n"
                               "mixed=\"open'\n"
                               "lone=\"\n"
                               "empty=''\n"
                               "inside=say \"hi\" now\n";
    const std::string comments = "; leading comment\n[s]\n;k=commented out\n"
                                 "   ; indented comment\nk=first; second ;third\n";
    const std::string repeated = "[s]\nk=first\n[other]\nk=x\n[S]\nk=second\nonly=later\n";
    const std::string junk = "[s]\nno equals sign\n=no key\n[unclosed\nk=v\n";
    const std::string chinese = "\xE6\xB2\xA1\xE6\x9C\x89\xE6\x89\xBE\xE5\x88\xB0"; // 没有找到
    const std::vector<ReadCase> cases = {
        {"names ignore case", "[Language Set]\nLangSel=2\n", "LANGUAGE SET", "langsel", "2"},
        {"inner blanks of a name count", "[Language Set]\nk=2\n", "Language  Set", "k",
         "<default>"},
        {"outer blanks go", "  [  Tip  ]  \n\t 3 \t=\t  Choose the output file \t \n", "Tip", "3",
         "Choose the output file"},
        {"inner blanks stay", "[s]\nk=a  b\tc\n", "s", "k", "a  b\tc"},
        {"double quotes", quotes, "s", "double", "  padded  "},
        {"single quotes", quotes, "s", "single", "Track "},
        {"one pair only", quotes, "s", "nested", "'inner'"},
        {"quotes must match", quotes, "s", "mixed", "\"open'"},
        {"a lone quote stays", quotes, "s", "lone", "\""},
        {"empty quotes", quotes, "s", "empty", ""},
        {"quotes inside stay", quotes, "s", "inside", "say \"hi\" now"},
        {"semicolon inside a value", comments, "s", "k", "first; second ;third"},
        {"commented-out key", comments, "s", ";k", "<default>"},
        {"first of a repeated key", "[s]\nk=one\nK=two\nk = three\n", "s", "k", "one"},
        {"first of a repeated section", repeated, "s", "k", "first"},
        {"repeat adds missing keys", repeated, "s", "only", "later"},
        {"later equals signs", "[s]\nk=a=b==c\n", "s", "k", "a=b==c"},
        {"empty value", "[s]\nk=\n", "s", "k", ""},
        {"blank value", "[s]\nk=   \n", "s", "k", ""},
        {"junk lines skipped", junk, "s", "k", "v"},
        {"line without equals", junk, "s", "no equals sign", "<default>"},
        {"unclosed section", junk, "unclosed", "k", "<default>"},
        {"keys before any section", "k=loose\n[s]\nk=v\n", "s", "k", "v"},
        {"no section of no name", "k=loose\n", "", "k", "<default>"},
        {"CR LF", "[s]\r\na=1\r\nb=2\r\n", "s", "b", "2"},
        {"mixed line ends", "[s]\na=1\r\nb=2", "s", "b", "2"},
        {"CR alone", "[s]\ra=1\rb=2\r", "s", "a", "1"},
        {"byte order mark", "\xEF\xBB\xBF[UIText]\n1=\xE9\x80\x89", "UIText", "1", "\xE9\x80\x89"},
        {"only a byte order mark", "\xEF\xBB\xBF", "s", "k", "<default>"},
        {"mark then junk", "\xEF\xBB\xBF[unclosed\n[s]\nk=v\n", "s", "k", "v"},
        {"UTF-8 byte for byte", "[Message]\n1=" + chinese + "!\n", "Message", "1", chinese + "!"},
        {"missing section", "[s]\nk=v\n", "t", "k", "<default>"},
        {"missing key", "[s]\nk=v\n", "s", "j", "<default>"},
        {"empty file", "", "s", "k", "<default>"},
        {"empty section name", "[s]\nk=v\n", "", "k", "<default>"},
        {"empty key name", "[s]\nk=v\n", "s", "", "<default>"},
    };
    testsupport::TempFolder folder;
    for (const ReadCase& c : cases) {
        const std::string path = folder.Write("test.ini", c.text);
        EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "<default>", path), c.expected)
            << c.what;
    }
}

TEST_F(ProfileTest, MissingFilesAndDefaults) {
    testsupport::TempFolder folder;
    EXPECT_EQ(GetPrivateProfileString("s", "k", "1", folder.Path() + "absent.ini"), "1");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "1", folder.Path() + "no/folder/x.ini"), "1");
    // Trailing blanks of the default are dropped, leading ones kept.
    EXPECT_EQ(GetPrivateProfileString("s", "k", "  1.0.0.1  ", folder.Path() + "absent.ini"),
              "  1.0.0.1");
}

constexpr std::size_t kMaxValueBytes = kProfileBufferBytes - 1; // 259

TEST_F(ProfileTest, ValuesAreCutTo259BytesOnACharacterBoundary) {
    const std::string a258(258, 'a');
    const std::string note = "\xE9\x9F\xB3"; // 音, three bytes
    std::string chinese;
    for (int i = 0; i < 90; ++i) {
        chinese += note;
    }
    const std::string inner(kMaxValueBytes, 'q');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(kMaxValueBytes, 'a'), std::string(kMaxValueBytes, 'a')},
        {std::string(1000, 'b'), std::string(kMaxValueBytes, 'b')},
        {a258 + "\xC3\xA9" + "zzz", a258},                              // é straddles the cut
        {std::string(257, 'a') + note + "tail", std::string(257, 'a')}, // 3 bytes at 257
        {a258 + note + "tail", a258},                                   // 3 bytes at 258
        {std::string(256, 'a') + "\xF0\x9F\x8E\xB5x", std::string(256, 'a')}, // 4 bytes
        {a258 + "\xF0\x9F\x8E\xB5x", a258},
        {std::string(256, 'a') + note + "more", std::string(256, 'a') + note}, // ends at 259
        {chinese, chinese.substr(0, 258)},
        {"\"" + inner + "\"", inner}, // cut after the quotes go
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(ReadValue(value), expected) << value.size() << " bytes";
    }
}

TEST_F(ProfileTest, PathsThatAreNoRegularFileGiveTheDefaultWithoutWaiting) {
    m_folder.Write("dir.ini/inner.ini", "[s]\nk=v\n");
    const std::string pipe = m_folder.Path() + "pipe.ini";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {m_folder.Path() + "dir.ini", pipe, std::string("/dev/zero")}) {
        EXPECT_EQ(GetPrivateProfileString("s", "k", "d", path), "d") << path;
    }
}

TEST_F(ProfileTest, ReplacesAValueInPlaceAndKeepsTheRest) {
    const std::string path = m_folder.Write("a.ini", "; settings\n"
                                                     "[First]\n"
                                                     "a=1\n"
                                                     "; about b\n"
                                                     "B = old\n"
                                                     "c=3;4\n"
                                                     "\n"
                                                     "[Second]\n"
                                                     "x=y\n");
    ASSERT_TRUE(WritePrivateProfileString("first", "b", "new", path));
    // The opening comment is set off by a blank line; the rest keeps its order.
    EXPECT_EQ(m_folder.Read("a.ini"), "; settings\n"
                                      "\n"
                                      "\n"
                                      "[First]\n"
                                      "a=1\n"
                                      "\n"
                                      "; about b\n"
                                      "B=new\n"
                                      "c=3;4\n"
                                      "\n"
                                      "\n"
                                      "[Second]\n"
                                      "x=y\n");
}

struct EditCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST_F(ProfileTest, RefusesWhatCannotBeStoredAndLeavesTheFileAlone) {
    const std::string original = "[s]\nk=v\n";
    const std::string path = m_folder.Write("a.ini", original);
    EXPECT_FALSE(WritePrivateProfileString("", "k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "", "v", path));
    EXPECT_FALSE(WritePrivateProfileString(" s", "k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "k ", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("a]b", "k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "a=b", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("s", ";k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "[k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "two\nlines", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "cr\rhere", path));
    EXPECT_FALSE(WritePrivateProfileString("s", "k", std::string("nul\0x", 5), path));
    EXPECT_EQ(m_folder.Read("a.ini"), original);
}

TEST_F(ProfileTest, FailsForAMissingFolderOrAFolderPath) {
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", m_folder.Path() + "no/such/a.ini"));
    m_folder.Write("dir.ini/inner", "x");
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", m_folder.Path() + "dir.ini"));
}

} // namespace
