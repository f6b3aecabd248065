#include "tests/engine/session/SessionFixture.h"

#include "components/quarnel/device/DriveProviders.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "engine/RecordingState.h"
#include "engine/session/SessionState.h"
#include "lang/LangText.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

void SessionFixture::SetUp() {
    CaptureFixture::SetUp();
    g_closeDisc.store(false);
    m_drivesFolder = m_folder.Path() + "/drives";
    Open();
    m_session = std::make_unique<engine::RecordSession>(m_view, ShortPauses());
}

void SessionFixture::TearDown() {
    m_session.reset();
    CaptureFixture::TearDown();
    m_drives.reset();
    m_provider.reset();
}

SessionPauses SessionFixture::ShortPauses() {
    SessionPauses pauses;
    pauses.stopMs = 100;
    pauses.beforeMp3ThreadMs = 0;
    pauses.mp3ThreadStartMs = 0;
    pauses.mp3DrainPollMs = 5;
    pauses.longWriteRetryMs = 20;
    pauses.cacheFlushPollMs = 5;
    pauses.sessionClosePollMs = 5;
    pauses.trayOpenMs = 0;
    return pauses;
}

void SessionFixture::MakeDrive(const std::function<void(quarnel::emu::DriveSettings&)>& adjust) {
    namespace emu = quarnel::emu;
    const std::filesystem::path folder = emu::CreateDriveFolder(m_drivesFolder, "writer", 0);
    ASSERT_FALSE(folder.empty());
    emu::DriveSettings settings = *emu::LoadDriveSettings(folder / emu::kDriveSettingsFileName);
    settings.writeSpeedX = 0;
    if (adjust) {
        adjust(settings);
    }
    ASSERT_TRUE(emu::SaveDriveSettings(folder / emu::kDriveSettingsFileName, settings));
    m_provider = std::make_unique<quarnel::EmulatedDriveProvider>(
        m_drivesFolder, std::make_shared<emu::SteadyClock>());
    std::vector<quarnel::DriveProvider> providers{
        [this](bool writerListed) { return m_provider->Drives(writerListed); }};
    m_drives = std::make_unique<quarnel::DevDeque>(
        quarnel::CollectDrives(std::filesystem::path(m_drivesFolder) / "no-sysfs", providers));
    ASSERT_TRUE(Emulated().LoadBlank(emu::MediumKind::CdR));
    m_view.m_device.store(&Device());
}

void SessionFixture::DropDrive() {
    m_view.m_device.store(nullptr);
    m_drives.reset();
    m_provider.reset();
    std::filesystem::remove_all(m_drivesFolder);
}

quarnel::CDevCmdRW& SessionFixture::Device() {
    return *dynamic_cast<quarnel::CDevCmdRW*>(m_drives->GetDequeItem(0));
}

quarnel::emu::EmulatedDrive& SessionFixture::Emulated() {
    return *m_provider->Find(*m_drives->GetDequeItem(0));
}

void SessionFixture::RecordFor(std::uint64_t buffers) {
    m_session->StartRecording();
    ASSERT_TRUE(m_session->IsRecording()) << "the take was refused";
    const std::uint64_t target = BuffersDelivered() + buffers;
    WaitUntil([&] { return BuffersDelivered() >= target || !m_session->IsRecording(); },
              "capture buffers of the take");
    m_session->StopRecording();
    WaitUntilIdle();
}

void SessionFixture::WaitUntilIdle() {
    WaitUntil([this] { return !m_session->IsRecording(); }, "the take to finish");
}

std::vector<std::uint8_t> SessionFixture::TrackAudio(std::size_t index) {
    const quarnel::emu::DiscState state = Emulated().State();
    EXPECT_LT(index, state.tracks.size());
    if (index >= state.tracks.size()) {
        return {};
    }
    const quarnel::emu::DiscTrack& track = state.tracks[index];
    std::ifstream image(std::filesystem::path(m_drivesFolder) / "writer" /
                            quarnel::emu::kDiscImageFileName,
                        std::ios::binary);
    std::vector<std::uint8_t> bytes(std::size_t{track.length} * 2352);
    image.seekg(static_cast<std::streamoff>(std::size_t{track.start} * 2352));
    image.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(image.gcount()));
    return bytes;
}

std::vector<std::string> SessionFixture::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : m_messages.ShownMessages()) {
        texts.push_back(shown.text);
    }
    return texts;
}

std::string SessionFixture::Message(int number) {
    return lang::GetLangString("Message", number);
}

bool IsToneStretch(const std::vector<std::uint8_t>& pcm) {
    constexpr std::uint64_t kSearchBuffers = 4000;
    return !pcm.empty() && FindToneStart(pcm, kSearchBuffers) >= 0;
}
