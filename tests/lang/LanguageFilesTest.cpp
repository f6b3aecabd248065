// Choosing the language and looking up its texts in a program folder of the
// test's own making.
#include "lang/LanguageFiles.h"
#include "lang/LangText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using lang::LanguageFiles;

class LanguageFilesTest : public ::testing::Test {
protected:
    LanguageFiles Files() const { return LanguageFiles(m_folder.Path()); }

    void WriteLanguages() const {
        m_folder.Write("Lang/lang.ini", "[Language]\nLanFile1=eng\nFont1=DejaVu Sans\n"
                                        "LanFile2=chs\nFont2=Noto Sans CJK SC\n");
        m_folder.Write("Lang/eng.ini", "[UIText]\n1=Select :\n10=Capacity of Disc :\n"
                                       "[Message]\n1=Not find appropriate Device!\n");
        m_folder.Write("Lang/chs.ini", "[UIText]\n1=\xE9\x80\x89\xE6\x8B\xA9\n");
    }

    // A language file named by an empty language name. Reading it would show.
    void WriteTrapForEmptyName() const {
        m_folder.Write("Lang/.ini", "[UIText]\n1=trap\n[Message]\n1=trap\n");
    }

    testsupport::TempFolder m_folder;
};

TEST_F(LanguageFilesTest, WithoutAnyFileEverythingIsEmpty) {
    EXPECT_EQ(Files().LanguageName(), "");
    EXPECT_EQ(Files().LanguageFont(), "");
    for (int number = 0; number <= 30; ++number) {
        EXPECT_EQ(Files().LangString("Message", number), "") << number;
    }
}

TEST_F(LanguageFilesTest, MissingSoftSetChoosesLanguageOne) {
    WriteLanguages();
    EXPECT_EQ(Files().LanguageName(), "eng");
    EXPECT_EQ(Files().LanguageFont(), "DejaVu Sans");
    EXPECT_EQ(Files().LangString("UIText", 1), "Select :");
}

TEST_F(LanguageFilesTest, LangselTwoChoosesChs) {
    WriteLanguages();
    m_folder.Write("SoftSet.ini", "[Language Set]\nlangsel=2\n");
    EXPECT_EQ(Files().LanguageName(), "chs");
    EXPECT_EQ(Files().LanguageFont(), "Noto Sans CJK SC");
    EXPECT_EQ(Files().LangString("UIText", 1), "\xE9\x80\x89\xE6\x8B\xA9");
}

TEST_F(LanguageFilesTest, NumberIsTheKeyInDecimal) {
    WriteLanguages();
    EXPECT_EQ(Files().LangString("UIText", 10), "Capacity of Disc :");
    EXPECT_EQ(Files().LangString("uitext", 1), "Select :");
    m_folder.Write("Lang/eng.ini", "[UIText]\n01=padded\n-1=negative\n");
    EXPECT_EQ(Files().LangString("UIText", 1), "");
    EXPECT_EQ(Files().LangString("UIText", -1), "negative");
}

TEST_F(LanguageFilesTest, MissingKeyIsEmptyWithoutFallingBackToAnotherLanguage) {
    WriteLanguages();
    m_folder.Write("SoftSet.ini", "[Language Set]\nlangsel=2\n");
    EXPECT_EQ(Files().LangString("Message", 1), "");
    EXPECT_EQ(Files().LangString("UIText", 10), "");
    EXPECT_EQ(Files().LangString("Nowhere", 1), "");
}

TEST_F(LanguageFilesTest, MissingLanguageFileGivesEmptyTextsButKeepsTheName) {
    WriteLanguages();
    m_folder.Write("Lang/lang.ini", "[Language]\nLanFile1=deu\nFont1=DejaVu Serif\n");
    EXPECT_EQ(Files().LanguageName(), "deu");
    EXPECT_EQ(Files().LanguageFont(), "DejaVu Serif");
    EXPECT_EQ(Files().LangString("UIText", 1), "");
}

TEST_F(LanguageFilesTest, NoLanguageFileIsOpenedUnderAnEmptyName) {
    WriteTrapForEmptyName();
    // No lang.ini at all.
    m_folder.Write("Lang/eng.ini", "[UIText]\n1=Select :\n");
    EXPECT_EQ(Files().LanguageName(), "");
    EXPECT_EQ(Files().LangString("UIText", 1), "");
    EXPECT_EQ(Files().LangString("Message", 1), "");
    // A chosen number that lang.ini does not list.
    WriteLanguages();
    m_folder.Write("SoftSet.ini", "[Language Set]\nlangsel=3\n");
    EXPECT_EQ(Files().LanguageName(), "");
    EXPECT_EQ(Files().LanguageFont(), "");
    EXPECT_EQ(Files().LangString("UIText", 1), "");
    // An empty file name beside a font.
    m_folder.Write("SoftSet.ini", "");
    m_folder.Write("Lang/lang.ini", "[Language]\nLanFile1=\nFont1=DejaVu Sans\n");
    EXPECT_EQ(Files().LanguageName(), "");
    EXPECT_EQ(Files().LanguageFont(), "DejaVu Sans");
    EXPECT_EQ(Files().LangString("Message", 1), "");
}

TEST_F(LanguageFilesTest, EditsTakeEffectAtTheNextLookUp) {
    WriteLanguages();
    const LanguageFiles files = Files();
    EXPECT_EQ(files.LangString("UIText", 1), "Select :");
    m_folder.Write("SoftSet.ini", "[Language Set]\nlangsel=2\n");
    EXPECT_EQ(files.LangString("UIText", 1), "\xE9\x80\x89\xE6\x8B\xA9");
    m_folder.Write("Lang/chs.ini", "[UIText]\n1=changed\n");
    EXPECT_EQ(files.LangString("UIText", 1), "changed");
}

// The update check asks its question from a worker thread while the window
// looks up its own texts.
TEST_F(LanguageFilesTest, LookUpsFromSeveralThreadsAgree) {
    WriteLanguages();
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, &wrong] {
            const LanguageFiles files = Files();
            for (int i = 0; i < 100; ++i) {
                if (files.LangString("UIText", 10) != "Capacity of Disc :") {
                    wrong.fetch_add(1, std::memory_order_relaxed);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(LanguageFilesTest, FreeFunctionsLookInTheProgramFolder) {
    const LanguageFiles programFiles(lang::GetAppDir());
    EXPECT_EQ(lang::GetLanguageName(), programFiles.LanguageName());
    EXPECT_EQ(lang::GetLanguageFont(), programFiles.LanguageFont());
    EXPECT_EQ(lang::GetLangString("Message", 1), programFiles.LangString("Message", 1));
}

} // namespace
