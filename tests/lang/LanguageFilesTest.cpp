// Choosing the language and looking up its texts in a program folder of the
// test's own making.
#include "lang/LanguageFiles.h"
#include "lang/LangText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using lang::LanguageFiles;

const char* const kLangIni = "[Language]\nLanFile1=eng\nFont1=DejaVu Sans\n"
                             "LanFile2=chs\nFont2=Noto Sans CJK SC\n";
const char* const kEngIni =
    "[UIText]\n1=Select :\n10=Capacity of Disc :\n[Message]\n1=Not find appropriate Device!\n";
const char* const kChosen = "\xE9\x80\x89\xE6\x8B\xA9";

// The files of a program folder; a null text leaves that file out.
void WriteProgramFolder(const testsupport::TempFolder& folder, const char* softSet,
                        const char* langIni, const char* engIni) {
    const std::pair<const char*, const char*> files[] = {
        {"SoftSet.ini", softSet},
        {"Lang/lang.ini", langIni},
        {"Lang/eng.ini", engIni},
        {"Lang/chs.ini", "[UIText]\n1=\xE9\x80\x89\xE6\x8B\xA9\n"},
        // A language file named by an empty language name: reading it would show.
        {"Lang/.ini", "[UIText]\n1=trap\n[Message]\n1=trap\n"}};
    for (const auto& [name, text] : files) {
        if (text != nullptr) {
            folder.Write(name, text);
        }
    }
}

// Each case: the program folder's files, then the language, its font and texts.
TEST(LanguageChoice, TheChosenLanguagesTextsAndNothingElse) {
    struct Case {
        const char* what;
        const char* softSet;
        const char* langIni;
        const char* engIni;
        const char* name;
        const char* font;
        std::vector<std::tuple<const char*, int, std::string>> texts;
    };
    const Case cases[] = {
        {"no files at all", nullptr, nullptr, nullptr, "", "", {{"Message", 1, ""}}},
        {"no settings: language one",
         nullptr,
         kLangIni,
         kEngIni,
         "eng",
         "DejaVu Sans",
         {{"UIText", 1, "Select :"}, {"uitext", 10, "Capacity of Disc :"}}},
        {"language two",
         "[Language Set]\nlangsel=2\n",
         kLangIni,
         kEngIni,
         "chs",
         "Noto Sans CJK SC",
         {{"UIText", 1, kChosen}, {"Message", 1, ""}, {"UIText", 10, ""}, {"Nowhere", 1, ""}}},
        {"the number is the key in decimal",
         nullptr,
         kLangIni,
         "[UIText]\n01=padded\n-1=negative\n",
         "eng",
         "DejaVu Sans",
         {{"UIText", 1, ""}, {"UIText", -1, "negative"}}},
        {"a missing language file",
         nullptr,
         "[Language]\nLanFile1=deu\nFont1=DejaVu Serif\n",
         kEngIni,
         "deu",
         "DejaVu Serif",
         {{"UIText", 1, ""}}},
        {"no language list",
         nullptr,
         nullptr,
         kEngIni,
         "",
         "",
         {{"UIText", 1, ""}, {"Message", 1, ""}}},
        {"a number not listed",
         "[Language Set]\nlangsel=3\n",
         kLangIni,
         kEngIni,
         "",
         "",
         {{"UIText", 1, ""}}},
        {"an empty file name beside a font",
         nullptr,
         "[Language]\nLanFile1=\nFont1=DejaVu Sans\n",
         kEngIni,
         "",
         "DejaVu Sans",
         {{"Message", 1, ""}}},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder folder;
        WriteProgramFolder(folder, c.softSet, c.langIni, c.engIni);
        const LanguageFiles languages(folder.Path());
        EXPECT_EQ(languages.LanguageName(), c.name) << c.what;
        EXPECT_EQ(languages.LanguageFont(), c.font) << c.what;
        for (const auto& [section, number, text] : c.texts) {
            EXPECT_EQ(languages.LangString(section, number), text)
                << c.what << ": " << section << " " << number;
        }
    }
}

} // namespace
