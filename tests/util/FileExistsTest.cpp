// File existence: null and blank paths, wildcards, and characters that are
// wildcards to glob(3) but ordinary in file names.
#include "util/FileExists.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class FileExistsTest : public ::testing::Test {
protected:
    bool Exists(const std::string& name) const {
        return util::FileExists(m_folder.File(name).c_str());
    }

    testsupport::TempFolder m_folder;
};

TEST_F(FileExistsTest, NullAndBlankPathsAreFalse) {
    EXPECT_FALSE(util::FileExists(nullptr));
    EXPECT_FALSE(util::FileExists(""));
    EXPECT_FALSE(util::FileExists("   "));
    EXPECT_FALSE(util::FileExists(" \t\r\n "));
}

TEST_F(FileExistsTest, PlainFilesAndFolders) {
    m_folder.Write("take.wav", "RIFF");
    EXPECT_TRUE(Exists("take.wav"));
    EXPECT_FALSE(Exists("take.mp3"));
    EXPECT_TRUE(util::FileExists(m_folder.Path().c_str())) << "a folder is an entry too";
    EXPECT_FALSE(Exists("missing/take.wav"));
}

TEST_F(FileExistsTest, PathIsSearchedUntrimmed) {
    m_folder.Write("take.wav", "");
    EXPECT_FALSE(util::FileExists((m_folder.File("take.wav") + " ").c_str()));
    m_folder.Write(" padded ", "");
    EXPECT_TRUE(Exists(" padded "));
}

TEST_F(FileExistsTest, StarAndQuestionMarkAreWildcards) {
    m_folder.Write("Track01.wav", "");
    EXPECT_TRUE(Exists("*.wav"));
    EXPECT_TRUE(Exists("Track??.wav"));
    EXPECT_TRUE(Exists("T*1.*"));
    EXPECT_FALSE(Exists("Track?.wav"));
    EXPECT_FALSE(Exists("*.mp3"));
}

TEST_F(FileExistsTest, WildcardsMatchHiddenFiles) {
    m_folder.Write(".hidden", "");
    EXPECT_TRUE(Exists("*hidden"));
    EXPECT_TRUE(Exists("?hidden"));
}

TEST_F(FileExistsTest, BracketsAndBackslashesAreOrdinaryCharacters) {
    m_folder.Write("a1.wav", "");
    EXPECT_FALSE(Exists("a[1].wav")) << "not a character class";
    EXPECT_FALSE(Exists("a[0-9].wav"));
    m_folder.Write("a[1].wav", "");
    EXPECT_TRUE(Exists("a[1].wav"));
    m_folder.Write("back\\slash", "");
    EXPECT_TRUE(Exists("back\\slash"));
    EXPECT_FALSE(Exists("backslash"));
    EXPECT_TRUE(Exists("back\\*")) << "a wildcard after a backslash still works";
}

} // namespace
