// Writing profile strings into real files: creating what is missing, keeping
// the rest of the file, and refusing what cannot be stored.
#include "platform/profile/ProfileString.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

class ProfileWriteTest : public ::testing::Test {
protected:
    testsupport::TempFolder m_folder;
};

TEST_F(ProfileWriteTest, CreatesTheFileWithSectionAndKey) {
    const std::string path = m_folder.Path() + "SoftSet.ini";
    ASSERT_TRUE(WritePrivateProfileString("Language Set", "langsel", "2", path));
    EXPECT_EQ(m_folder.Read("SoftSet.ini"), "[Language Set]\nlangsel=2\n");
    EXPECT_EQ(GetPrivateProfileString("Language Set", "langsel", "1", path), "2");
}

TEST_F(ProfileWriteTest, ReplacesAValueInPlaceAndKeepsTheRest) {
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

TEST_F(ProfileWriteTest, EditsKeepTheRestOfTheFile) {
    const std::vector<EditCase> cases = {
        {"key added at the end of its section", "[s]\na=1\n[t]\nz=9\n", "s", "b", "2",
         "[s]\na=1\nb=2\n\n\n[t]\nz=9\n"},
        {"section added at the end", "[s]\na=1\n", "Trindle", "KeyUsed", "0",
         "[s]\na=1\n\n\n[Trindle]\nKeyUsed=0\n"},
        {"repeats of the written key dropped", "[s]\nk=1\nk=2\n", "s", "k", "3", "[s]\nk=3\n"},
        {"byte order mark and UTF-8 kept", "\xEF\xBB\xBF[UIText]\n1=\xE9\x9F\xB3\n", "UIText", "2",
         "\xE8\xBD\xA8", "\xEF\xBB\xBF[UIText]\n1=\xE9\x9F\xB3\n2=\xE8\xBD\xA8\n"},
    };
    for (const EditCase& c : cases) {
        const std::string path = m_folder.Write("a.ini", c.before);
        ASSERT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, path)) << c.what;
        EXPECT_EQ(m_folder.Read("a.ini"), c.after) << c.what;
    }
    // Repeats of keys not written still read as the first one.
    const std::string path = m_folder.Write("a.ini", "[s]\nk=first\nk=second\n");
    ASSERT_TRUE(WritePrivateProfileString("s", "other", "x", path));
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "first");
}

TEST_F(ProfileWriteTest, ValueWithOuterBlanksReadsBackTrimmed) {
    const std::string path = m_folder.Path() + "a.ini";
    ASSERT_TRUE(WritePrivateProfileString("s", "k", "  v  ", path));
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "v");
    ASSERT_TRUE(WritePrivateProfileString("s", "q", "\"  v  \"", path));
    EXPECT_EQ(GetPrivateProfileString("s", "q", "", path), "  v  ");
}

TEST_F(ProfileWriteTest, RefusesWhatCannotBeStoredAndLeavesTheFileAlone) {
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

TEST_F(ProfileWriteTest, FailsForAMissingFolderOrAFolderPath) {
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", m_folder.Path() + "no/such/a.ini"));
    m_folder.Write("dir.ini/inner", "x");
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", m_folder.Path() + "dir.ini"));
}

} // namespace
