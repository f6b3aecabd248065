// The help files: for each shipped language, the file the Help button opens,
// lang/Sondrel-<language name>.chm in the program folder, is a compiled help
// file holding every page.

#include "lang/LanguageFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <iconv.h>

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

// `bytes` in `codePage` as UTF-8; empty when they are not text of that code page.
std::string ToUtf8(const std::string& bytes, const char* codePage) {
    iconv_t converter = iconv_open("UTF-8", codePage);
    std::string in = bytes;
    std::string out(in.size() * 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t fromLeft = in.size();
    std::size_t toLeft = out.size();
    const bool whole =
        iconv(converter, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    return whole ? out.substr(0, out.size() - toLeft) : std::string();
}

TEST(HelpFilesTest, ThePagesAreCompiledInTheProjectsCodePageAndShippedAsHtmlToo) {
    const std::string build = std::string(SONDREL_PROGRAM_DIR) + "/../";
    const std::string sources = std::string(SONDREL_SOURCE_DIR) + "/docs/help/";
    // The code page of each project file's Language line.
    for (const auto& [language, codePage] : {std::pair{"eng", "WINDOWS-1252"}, {"chs", "GBK"}}) {
        SCOPED_TRACE(language);
        for (const char* page : {"toc.hhc", "index.html", "recording.html", "disc.html",
                                 "hotkeys.html", "skins.html"}) {
            SCOPED_TRACE(page);
            std::string source = ReadAll(sources + language + "/" + page);
            ASSERT_FALSE(source.empty());
            // The copy compiled into the help file, read in its code page.
            const std::string compiled =
                ToUtf8(ReadAll(build + "docs/help/" + language + "/" + page), codePage);
            const std::string declared = "charset=utf-8";
            source.replace(source.find(declared), declared.size(),
                           std::string("charset=") + codePage);
            EXPECT_EQ(compiled, source);
            if (std::string(page) != "toc.hhc") {
                EXPECT_EQ(ReadAll(build + "bin/lang/Sondrel-" + language + "/" + page),
                          ReadAll(sources + language + "/" + page))
                    << "the HTML page beside the help file";
            }
        }
    }
}

} // namespace
