// Text values: written through the registry functions, kept readable in the
// settings file with quotes and backslashes escaped, read back and removed.
#include "platform/registry/Registry.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace platform;

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
