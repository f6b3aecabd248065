#pragma once
// A drive in a fresh temporary folder with a manual clock, and helpers that
// send hand-written command blocks to it.

#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/ManualClock.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <vector>

namespace quarnel::emu::test {

struct Result {
    CommandOutcome outcome;
    std::vector<std::uint8_t> data;

    [[nodiscard]] bool Ok() const { return outcome.Ok(); }
    [[nodiscard]] SenseCode Sense() const;
};

class EmuTestDrive {
public:
    // A writer with time scale 1, 2 MiB buffer and the given top speed.
    explicit EmuTestDrive(std::uint32_t writeSpeedX = 0, MediumKind medium = MediumKind::CdR);

    EmulatedDrive& Drive() { return *m_drive; }
    ManualClock& Clock() { return *m_clock; }
    [[nodiscard]] const std::filesystem::path& Folder() const { return m_folder; }
    // Drops the drive object and makes a new one from the folder.
    void Reopen();

    // A command that reads `replyBytes` (or none).
    Result Run(std::initializer_list<std::uint8_t> cdb, std::size_t replyBytes = 0);
    // A command that sends `payload` to the drive.
    Result Send(std::initializer_list<std::uint8_t> cdb, std::vector<std::uint8_t> payload);

    // Page 05 for TAO audio: BUFE as given, multi-session open or closed.
    Result SelectTaoAudio(bool bufe, bool keepSessionOpen);
    Result WriteBlocks(std::uint32_t lba, const std::vector<std::uint8_t>& data);
    // The next writable address of the invisible/open track (READ TRACK INFORMATION, FFh).
    std::uint32_t NextWritable();
    Result CloseTrack(std::uint8_t track);
    Result CloseSession();
    Result ReadCd(std::uint32_t lba, std::uint32_t blocks);

private:
    testsupport::TempFolder m_temp;
    std::filesystem::path m_folder;
    std::shared_ptr<ManualClock> m_clock = std::make_shared<ManualClock>();
    std::unique_ptr<EmulatedDrive> m_drive;
};

} // namespace quarnel::emu::test
