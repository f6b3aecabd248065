// Reading profile strings from real files: how names, spacing, quotes,
// comments, repeats and line ends are read.
#include "platform/profile/ProfileString.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::GetPrivateProfileString;

struct ReadCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::string expected; // "<default>" when the look-up must find nothing
};

TEST(ProfileReadTest, FileTextsReadAsWindowsProfilesDo) {
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

TEST(ProfileReadTest, MissingFilesAndDefaults) {
    testsupport::TempFolder folder;
    EXPECT_EQ(GetPrivateProfileString("s", "k", "1", folder.Path() + "absent.ini"), "1");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "1", folder.Path() + "no/folder/x.ini"), "1");
    // Trailing blanks of the default are dropped, leading ones kept.
    EXPECT_EQ(GetPrivateProfileString("s", "k", "  1.0.0.1  ", folder.Path() + "absent.ini"),
              "  1.0.0.1");
}

TEST(ProfileReadTest, EachLookUpReadsTheFileAgain) {
    testsupport::TempFolder folder;
    const std::string path = folder.Write("live.ini", "[s]\nk=before\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "before");
    folder.Write("live.ini", "[s]\nk=after\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "after");
}

} // namespace
