// Reading profile strings from real files: how names, spacing, quotes,
// comments, repeats and line ends are read.
#include "platform/profile/ProfileString.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::GetPrivateProfileString;

class ProfileReadTest : public ::testing::Test {
protected:
    // Writes `text` as the test's INI file and reads section/key from it.
    std::string ReadFrom(const std::string& text, const char* section, const char* key,
                         const char* defaultValue = "<default>") {
        const std::string path = m_folder.Write("test.ini", text);
        return GetPrivateProfileString(section, key, defaultValue, path);
    }

    testsupport::TempFolder m_folder;
};

TEST_F(ProfileReadTest, SectionAndKeyNamesIgnoreCase) {
    const std::string text = "[Language Set]\nLangSel=2\n";
    EXPECT_EQ(ReadFrom(text, "language set", "langsel"), "2");
    EXPECT_EQ(ReadFrom(text, "LANGUAGE SET", "LANGSEL"), "2");
    EXPECT_EQ(ReadFrom(text, "Language  Set", "langsel"), "<default>");
}

TEST_F(ProfileReadTest, BlanksAroundNamesAndValuesAreIgnored) {
    const std::string text = "  [  Tip  ]  \n\t 3 \t=\t  Choose the output file \t \n";
    EXPECT_EQ(ReadFrom(text, "Tip", "3"), "Choose the output file");
}

TEST_F(ProfileReadTest, BlanksInsideAValueAreKept) {
    EXPECT_EQ(ReadFrom("[s]\nk=a  b\tc\n", "s", "k"), "a  b\tc");
}

TEST_F(ProfileReadTest, OnePairOfMatchingQuotesIsRemoved) {
    const std::string text = "[s]\n"
                             "double=\"  padded  \"\n"
                             "single='Track '\n"
                             "nested=\"'inner'\"\n"
                             "mixed=\"open'\n"
                             "lone=\"\n"
                             "empty=''\n"
                             "inside=say \"hi\" now\n";
    EXPECT_EQ(ReadFrom(text, "s", "double"), "  padded  ");
    EXPECT_EQ(ReadFrom(text, "s", "single"), "Track ");
    EXPECT_EQ(ReadFrom(text, "s", "nested"), "'inner'");
    EXPECT_EQ(ReadFrom(text, "s", "mixed"), "\"open'");
    EXPECT_EQ(ReadFrom(text, "s", "lone"), "\"");
    EXPECT_EQ(ReadFrom(text, "s", "empty"), "");
    EXPECT_EQ(ReadFrom(text, "s", "inside"), "say \"hi\" now");
}

TEST_F(ProfileReadTest, SemicolonStartsACommentOnlyAtTheStartOfALine) {
    const std::string text = "; leading comment\n"
                             "[s]\n"
                             ";k=commented out\n"
                             "   ; indented comment\n"
                             "k=first; second ;third\n";
    EXPECT_EQ(ReadFrom(text, "s", "k"), "first; second ;third");
    EXPECT_EQ(ReadFrom(text, "s", ";k"), "<default>");
}

TEST_F(ProfileReadTest, FirstOfARepeatedKeyWins) {
    EXPECT_EQ(ReadFrom("[s]\nk=one\nK=two\nk = three\n", "s", "k"), "one");
}

TEST_F(ProfileReadTest, FirstOfARepeatedSectionWins) {
    const std::string text = "[s]\nk=first\n[other]\nk=x\n[S]\nk=second\nonly=later\n";
    EXPECT_EQ(ReadFrom(text, "s", "k"), "first");
    // The repeat adds the keys the first copy lacks.
    EXPECT_EQ(ReadFrom(text, "s", "only"), "later");
}

TEST_F(ProfileReadTest, EqualsSignsAfterTheFirstBelongToTheValue) {
    EXPECT_EQ(ReadFrom("[s]\nk=a=b==c\n", "s", "k"), "a=b==c");
}

TEST_F(ProfileReadTest, EmptyValueIsFoundAndNotTheDefault) {
    EXPECT_EQ(ReadFrom("[s]\nk=\n", "s", "k"), "");
    EXPECT_EQ(ReadFrom("[s]\nk=   \n", "s", "k"), "");
}

TEST_F(ProfileReadTest, LinesThatAreNotEntriesAreSkipped) {
    const std::string text = "[s]\nno equals sign\n=no key\n[unclosed\nk=v\n";
    EXPECT_EQ(ReadFrom(text, "s", "k"), "v");
    EXPECT_EQ(ReadFrom(text, "s", "no equals sign"), "<default>");
    EXPECT_EQ(ReadFrom(text, "unclosed", "k"), "<default>");
}

TEST_F(ProfileReadTest, KeysBeforeTheFirstSectionBelongToNone) {
    EXPECT_EQ(ReadFrom("k=loose\n[s]\nk=v\n", "s", "k"), "v");
    EXPECT_EQ(ReadFrom("k=loose\n", "", "k"), "<default>");
}

TEST_F(ProfileReadTest, CrLfLfAndCrAllEndLines) {
    EXPECT_EQ(ReadFrom("[s]\r\na=1\r\nb=2\r\n", "s", "b"), "2");
    EXPECT_EQ(ReadFrom("[s]\r\na=1\r\nb=2\r\n", "s", "a"), "1");
    EXPECT_EQ(ReadFrom("[s]\na=1\r\nb=2", "s", "b"), "2");
    EXPECT_EQ(ReadFrom("[s]\ra=1\rb=2\r", "s", "a"), "1");
}

TEST_F(ProfileReadTest, Utf8ByteOrderMarkIsSkipped) {
    EXPECT_EQ(ReadFrom("\xEF\xBB\xBF[UIText]\n1=\xE9\x80\x89\xE6\x8B\xA9", "UIText", "1"),
              "\xE9\x80\x89\xE6\x8B\xA9");
    EXPECT_EQ(ReadFrom("\xEF\xBB\xBF", "s", "k"), "<default>");
    EXPECT_EQ(ReadFrom("\xEF\xBB\xBF[unclosed\n[s]\nk=v\n", "s", "k"), "v");
}

TEST_F(ProfileReadTest, Utf8TextComesBackByteForByte) {
    const std::string chinese = "\xE6\xB2\xA1\xE6\x9C\x89\xE6\x89\xBE\xE5\x88\xB0"; // 没有找到
    EXPECT_EQ(ReadFrom("[Message]\n1=" + chinese + "!\n", "Message", "1"), chinese + "!");
}

TEST_F(ProfileReadTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(GetPrivateProfileString("s", "k", "1", m_folder.Path() + "absent.ini"), "1");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "1", m_folder.Path() + "no/folder/x.ini"), "1");
    EXPECT_EQ(ReadFrom("[s]\nk=v\n", "t", "k"), "<default>");
    EXPECT_EQ(ReadFrom("[s]\nk=v\n", "s", "j"), "<default>");
    EXPECT_EQ(ReadFrom("", "s", "k"), "<default>");
}

TEST_F(ProfileReadTest, EmptyNamesFindNothing) {
    EXPECT_EQ(ReadFrom("[s]\nk=v\n", "", "k"), "<default>");
    EXPECT_EQ(ReadFrom("[s]\nk=v\n", "s", ""), "<default>");
}

TEST_F(ProfileReadTest, TrailingBlanksOfTheDefaultAreDropped) {
    EXPECT_EQ(ReadFrom("", "s", "k", "  1.0.0.1  "), "  1.0.0.1");
}

TEST_F(ProfileReadTest, EachLookUpReadsTheFileAgain) {
    const std::string path = m_folder.Write("live.ini", "[s]\nk=before\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "before");
    m_folder.Write("live.ini", "[s]\nk=after\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "after");
}

} // namespace
