// The settings and language files the build stages into the program folder:
// every text the program asks for is there, in every language, and fits.
#include "lang/LanguageFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using lang::LanguageFiles;

const std::string g_programFolder = std::string(SONDREL_PROGRAM_DIR) + "/";

// Every numbered text the program looks up, by section.
const std::map<std::string, std::set<int>>& UsedKeys() {
    static const std::map<std::string, std::set<int>> keys = [] {
        std::map<std::string, std::set<int>> used;
        for (int n = 1; n <= 13; ++n) {
            used["UIText"].insert(n);
        }
        used["UIText"].insert(15);
        for (int n = 21; n <= 36; ++n) {
            used["UIText"].insert(n);
        }
        for (int n = 1; n <= 34; ++n) {
            used["Message"].insert(n);
        }
        for (int n = 1; n <= 19; ++n) {
            used["Tip"].insert(n);
        }
        used["Update"].insert(6);
        return used;
    }();
    return keys;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool IsValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// One "key=value" line of a language file as it stands in the file.
struct RawEntry {
    std::string section;
    std::string key;
    std::string value; // without the line end
};

std::vector<RawEntry> RawEntries(const std::string& text) {
    std::vector<RawEntry> entries;
    std::istringstream lines(text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const std::size_t equals = line.find('=');
        entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

class ShippedLanguageFilesTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedLanguageFilesTest, HoldsExactlyTheUsedKeysOnceEach) {
    const std::string text = ReadFile(g_programFolder + "Lang/" + GetParam() + ".ini");
    std::map<std::string, std::multiset<int>> found;
    for (const RawEntry& entry : RawEntries(text)) {
        found[entry.section].insert(std::stoi(entry.key));
        EXPECT_EQ(std::to_string(std::stoi(entry.key)), entry.key) << entry.section;
    }
    ASSERT_EQ(found.size(), UsedKeys().size());
    for (const auto& [section, numbers] : UsedKeys()) {
        const std::multiset<int>& have = found[section];
        EXPECT_EQ(std::set<int>(have.begin(), have.end()), numbers) << section;
        EXPECT_EQ(have.size(), numbers.size()) << section << " has a repeated key";
    }
}

TEST_P(ShippedLanguageFilesTest, EveryTextIsOneNonEmptyLineOfAtMost259BytesOfUtf8) {
    const std::string text = ReadFile(g_programFolder + "Lang/" + GetParam() + ".ini");
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(text.find('\r'), std::string::npos);
    for (const RawEntry& entry : RawEntries(text)) {
        EXPECT_FALSE(entry.value.empty()) << entry.section << " " << entry.key;
        EXPECT_LE(entry.value.size(), 259u) << entry.section << " " << entry.key;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageFilesTest, ::testing::Values("eng", "chs"));

} // namespace
