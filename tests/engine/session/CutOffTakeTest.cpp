// A WAV take whose process ends without finishing it: the settings keep its
// path, and the next start offers to repair the header.
#include "engine/WavHeader.h"
#include "engine/session/CutOffTakeRepair.h"
#include "engine/session/RunningTake.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScopedRegistryFile.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

// A take of `pcmBytes` whose recorder was a child process that ended with the
// take still marked running.
std::string CutOffTake(const testsupport::ScopedRegistryFile& registry, std::size_t pcmBytes) {
    std::string path = registry.Folder().File("cut off.wav");
    EXPECT_TRUE(CreateWavFile(path));
    std::ofstream(path, std::ios::binary | std::ios::app) << std::string(pcmBytes, '\x05');
    const pid_t child = ::fork();
    if (child == 0) {
        engine::RememberRunningTake(path);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return path;
}

std::uint32_t DataSizeOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(76);
    unsigned char bytes[4] = {};
    in.read(reinterpret_cast<char*>(bytes), 4);
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

TEST(CutOffTake, TheNextStartOffersTheRepairOnceAndOkSetsTheSizes) {
    const testsupport::ScopedRegistryFile registry;
    const std::string path = CutOffTake(registry, 4 * 37632);
    EXPECT_EQ(engine::CutOffTakePath(), path);
    testsupport::ScriptedMessageBox messages({util::IDOK});
    const testsupport::ScopedMessageBoxHost host(messages);
    engine::OfferCutOffTakeRepair();
    ASSERT_EQ(messages.ShownCount(), 1u);
    EXPECT_NE(messages.ShownMessages()[0].text.find(path), std::string::npos);
    EXPECT_EQ(DataSizeOf(path), 4u * 37632);
    engine::OfferCutOffTakeRepair();
    EXPECT_EQ(messages.ShownCount(), 1u) << "asked once";
}

TEST(CutOffTake, CancelLeavesTheFileAndATakeOfThisProcessIsNotCutOff) {
    const testsupport::ScopedRegistryFile registry;
    const std::string path = CutOffTake(registry, 37632);
    testsupport::ScriptedMessageBox messages({util::IDCANCEL});
    const testsupport::ScopedMessageBoxHost host(messages);
    engine::OfferCutOffTakeRepair();
    EXPECT_EQ(messages.ShownCount(), 1u);
    EXPECT_EQ(DataSizeOf(path), kWavPlaceholderDataBytes);

    engine::RememberRunningTake(path); // recorded by a process that still runs
    EXPECT_EQ(engine::CutOffTakePath(), std::nullopt);
    engine::OfferCutOffTakeRepair();
    EXPECT_EQ(messages.ShownCount(), 1u);
    engine::ForgetRunningTake();
}

} // namespace
