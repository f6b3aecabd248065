// The help files: for each shipped language, the file the Help button opens,
// lang/Sondrel-<language name>.chm in the program folder, is a compiled help
// file holding every page.

#include "lang/LanguageFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(HelpFilesTest, EveryShippedLanguageHasItsHelpFileWithAllPages) {
    const std::string program = std::string(SONDREL_PROGRAM_DIR) + "/";
    const std::string languages = ReadAll(program + "Lang/lang.ini");
    ASSERT_FALSE(languages.empty()) << "the language files are not staged";
    // Choose each language in turn the way the program does, through
    // SoftSet.ini's langsel, in a copy of the program folder's settings.
    for (const int choice : {1, 2}) {
        testsupport::TempFolder folder;
        folder.Write("SoftSet.ini", "[Language Set]\nlangsel=" + std::to_string(choice) + "\n");
        folder.Write("Lang/lang.ini", languages);
        const std::string name = lang::LanguageFiles(folder.Path()).LanguageName();
        ASSERT_FALSE(name.empty()) << choice;
        const std::string help = ReadAll(program + "lang/Sondrel-" + name + ".chm");
        SCOPED_TRACE(name);
        ASSERT_GE(help.size(), 4u);
        EXPECT_EQ(help.substr(0, 4), "ITSF");
        for (const char* page :
             {"index.html", "recording.html", "disc.html", "hotkeys.html", "skins.html"}) {
            EXPECT_NE(help.find(page), std::string::npos) << page;
        }
    }
}

} // namespace
