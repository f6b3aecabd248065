// The registry service over a real settings file: values written through one set of handles
// are read back through fresh ones; missing keys and values, unwritable folders, garbled files
// and bad handles get their error codes. (Writers in several processes at once are checked by
// tests/cli/hotkey-concurrent.sh.)
#include "platform/registry/Registry.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace platform;

constexpr const char* kTrindlePath = "Software\\Kestrune\\Sondrel\\Trindle\\";

// Opens or creates the path one level at a time, as the program does.
HKEY CreateLevels(std::initializer_list<const char*> levels) {
    HKEY key = HKEY_LOCAL_MACHINE;
    for (const char* level : levels) {
        HKEY next = nullptr;
        if (RegCreateKeyEx(key, level, &next) != ERROR_SUCCESS) {
            RegCloseKey(key);
            return nullptr;
        }
        RegCloseKey(key);
        key = next;
    }
    return key;
}

LSTATUS SetDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueEx(key, name, REG_DWORD, &value, sizeof value);
}

// The value, or the error code offset by 1'000'000 so both fit one expectation.
long long QueryDword(const char* path, const char* name) {
    HKEY key = nullptr;
    if (const LSTATUS status = RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, &key);
        status != ERROR_SUCCESS) {
        return 1'000'000 + status;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof value;
    const LSTATUS status = RegQueryValueEx(key, name, &type, &value, &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return 1'000'000 + status;
    }
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(bytes, sizeof value);
    return value;
}

class RegistryTest : public ::testing::Test {
protected:
    testsupport::ScopedRegistryFile m_registry;
};

TEST_F(RegistryTest, MissingKeysAndValuesAreNotFoundAndReadingCreatesNothing) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(m_registry.Folder().Read("registry.ini"), "");

    HKEY sondrel = CreateLevels({"Software\\Kestrune\\Sondrel"});
    ASSERT_NE(sondrel, nullptr);
    EXPECT_EQ(QueryDword("Software\\Kestrune", "skinindex"), 1'000'000 + ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryDword("Software\\Kestrune\\Sondrel", "skinindex"),
              1'000'000 + ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryDword("Software\\Kestrune\\Sondrel\\Trindle", "KeyUsed"),
              1'000'000 + ERROR_FILE_NOT_FOUND);

    // Size queries and a buffer that is too small.
    ASSERT_EQ(SetDword(sondrel, "skinindex", 3), ERROR_SUCCESS);
    DWORD bytes = 0;
    EXPECT_EQ(RegQueryValueEx(sondrel, "skinindex", nullptr, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(bytes, 4u);
    unsigned char small[2] = {};
    bytes = sizeof small;
    EXPECT_EQ(RegQueryValueEx(sondrel, "skinindex", nullptr, small, &bytes), ERROR_MORE_DATA);
    EXPECT_EQ(bytes, 4u);
    EXPECT_EQ(RegCloseKey(sondrel), ERROR_SUCCESS);
}

TEST_F(RegistryTest, AFolderThatCannotBeCreatedOrAnUnreadableFileDeniesChangesButNotReading) {
    // A path below a regular file: no folder can be made there, not even by root.
    const std::string blocker = m_registry.Folder().Write("blocker", "x");
    testsupport::ScopedRegistryFile::Use(blocker + "/sondrel/registry.ini");
    HKEY key = reinterpret_cast<HKEY>(&key);
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Kestrune", &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", &key), ERROR_FILE_NOT_FOUND);

    // The root itself can always be opened; writing below it is refused too.
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, nullptr, &key), ERROR_SUCCESS);
    testsupport::ScopedRegistryFile::Use(m_registry.Path());
    HKEY sondrel = CreateLevels({"Software\\Kestrune\\Sondrel"});
    testsupport::ScopedRegistryFile::Use(blocker + "/sondrel/registry.ini");
    EXPECT_EQ(SetDword(sondrel, "skinindex", 1), ERROR_ACCESS_DENIED);

    // Something at the path that cannot be read as a file is never replaced.
    m_registry.Folder().Write("folder/kept", "x");
    testsupport::ScopedRegistryFile::Use(m_registry.Folder().File("folder"));
    EXPECT_EQ(SetDword(sondrel, "skinindex", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(m_registry.Folder().Read("folder/kept"), "x");
    EXPECT_EQ(RegCloseKey(sondrel), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, AGarbledHandEditedFileKeepsWhatCanBeReadAndAllItHoldsThroughTheNextWrite) {
    std::string text = "# edited by hand\r\n"
                       "skinindex=dword:00000009\n" // outside any key: skipped
                       "[hkey_local_machine\\SOFTWARE\\Kestrune\\Sondrel\\]\r\n"
                       "  SkinIndex = DWORD:2  \r\n"
                       "broken=dword:xyz\n"
                       "toolong=dword:123456789\n"
                       "[unterminated\n";
    text += std::string("\0\xff\xfe[\x01]\n=dword:1\n", 16);
    m_registry.Folder().Write("registry.ini", text);

    EXPECT_EQ(QueryDword("Software\\Kestrune\\Sondrel", "skinindex"), 2);
    EXPECT_EQ(QueryDword("Software\\Kestrune\\Sondrel", "broken"),
              1'000'000 + ERROR_FILE_NOT_FOUND);
    HKEY sondrel = CreateLevels({"Software\\Kestrune\\Sondrel"});
    ASSERT_EQ(SetDword(sondrel, "toolong", 7), ERROR_SUCCESS);
    RegCloseKey(sondrel);
    EXPECT_EQ(m_registry.Folder().Read("registry.ini"), text + "toolong=dword:00000007\n");
}

TEST_F(RegistryTest, WritingKeepsWhatOthersOwnAndGoesThroughALink) {
    const std::string text = "; my notes\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                             "name=\"text\"\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Kestrune\\Sondrel]\r\n"
                             "# kept\r\n"
                             "skinindex=dword:00000001\r\n"
                             "label=hex:01,02\r\n"
                             "\r\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Later]\n";
    const std::string real = m_registry.Folder().Write("elsewhere/real.ini", text);
    std::filesystem::remove(m_registry.Path());
    std::filesystem::create_symlink(real, m_registry.Path());

    HKEY sondrel = CreateLevels({"Software\\Kestrune\\Sondrel"});
    ASSERT_NE(sondrel, nullptr);
    EXPECT_EQ(SetDword(sondrel, "skinindex", 3), ERROR_SUCCESS);
    const std::array<RegistryDword, 2> both{{{"KeyA", 10, false}, {"KeyB", 11, false}}};
    EXPECT_EQ(RegSetDwordValues(sondrel, both), ERROR_SUCCESS);
    std::array<RegistryDword, 3> read{{{"keya", 0, false}, {"KEYB", 0, false}, {"none", 0, false}}};
    EXPECT_EQ(RegQueryDwordValues(sondrel, read), ERROR_SUCCESS);
    EXPECT_TRUE(read[0].found && read[1].found && !read[2].found);
    EXPECT_EQ(read[0].value + read[1].value, 21u);
    EXPECT_EQ(RegCloseKey(sondrel), ERROR_SUCCESS);

    EXPECT_TRUE(std::filesystem::is_symlink(m_registry.Path()));
    EXPECT_EQ(m_registry.Folder().Read("elsewhere/real.ini"),
              "; my notes\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
              "name=\"text\"\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Kestrune\\Sondrel]\r\n"
              "# kept\r\n"
              "skinindex=dword:00000003\n"
              "label=hex:01,02\r\n"
              "KeyA=dword:0000000a\n"
              "KeyB=dword:0000000b\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Later]\n");
}

// Text values: written through the registry functions, kept readable in the settings file
// with quotes and backslashes escaped, read back and removed.
TEST(RegistryText, ATextRoundTripsThroughTheFileAndIsRemovedAgain) {
    const testsupport::ScopedRegistryFile registry;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Kestrune\\Sondrel", &key),
              ERROR_SUCCESS);
    const std::string text = R"(/home/ann/"live" \ take=1;#.wav)";
    ASSERT_EQ(RegSetValueEx(key, "RunningTake", REG_SZ, text.c_str(),
                            static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
    EXPECT_NE(registry.Folder()
                  .Read("registry.ini")
                  .find(R"(RunningTake="/home/ann/\"live\" \\ take=1;#.wav")"),
              std::string::npos);

    DWORD type = 0;
    DWORD bytes = 4;
    char small[4] = {};
    EXPECT_EQ(RegQueryValueEx(key, "runningtake", &type, small, &bytes), ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);
    ASSERT_EQ(bytes, text.size() + 1);
    std::string read(bytes, '\0');
    ASSERT_EQ(RegQueryValueEx(key, "RunningTake", &type, read.data(), &bytes), ERROR_SUCCESS);
    EXPECT_EQ(read, text + '\0');

    for (const std::string& bad :
         {std::string("two\nlines", 10), std::string("a\0b", 4), std::string("no end", 6)}) {
        EXPECT_EQ(RegSetValueEx(key, "Other", REG_SZ, bad.data(), static_cast<DWORD>(bad.size())),
                  ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(RegDeleteValue(key, "RUNNINGTAKE"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "RunningTake"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(key, "RunningTake", &type, nullptr, &bytes), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

} // namespace
