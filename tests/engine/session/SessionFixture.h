#pragma once
// Takes through the real layers: the virtual tone input, capture, the feed
// queues, the session and its writer, and an emulated writer in a private
// drives folder (on the real clock) whose disc is read back from its files.
// The session's pauses are shortened; the Stop pause stays long enough for
// the capture callback to notice the end of a take.

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/emu/DriveSettings.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "engine/session/RecordSession.h"
#include "tests/engine/capture/CaptureFixture.h"
#include "tests/engine/session/RecordingView.h"
#include "tests/support/ScopedRegistryFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class SessionFixture : public CaptureFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The drive "writer" with these settings (unlimited speed unless
    // changed), holding a blank CD-R; selected in the view.
    void MakeDrive(const std::function<void(quarnel::emu::DriveSettings&)>& adjust = {});
    // Forgets the drive and removes its folder.
    void DropDrive();
    quarnel::CDevCmdRW& Device();
    quarnel::emu::EmulatedDrive& Emulated();

    // Starts a take, lets `buffers` capture buffers go by, and stops it
    // unless it ended by itself; returns once the take is finished.
    void RecordFor(std::uint64_t buffers);
    void WaitUntilIdle();

    // The audio of a disc track as stored in the drive's image.
    std::vector<std::uint8_t> TrackAudio(std::size_t index);
    // The texts of the messages shown so far.
    std::vector<std::string> MessageTexts() const;
    static std::string Message(int number);

    static SessionPauses ShortPauses();

    testsupport::ScopedRegistryFile m_registry; // where a WAV take is kept while it runs
    RecordingView m_view;
    std::unique_ptr<engine::RecordSession> m_session;

private:
    std::string m_drivesFolder;
    std::unique_ptr<quarnel::EmulatedDriveProvider> m_provider;
    std::unique_ptr<quarnel::DevDeque> m_drives;
};

// True when `pcm` is the tone of the virtual input from some buffer on, up to
// the silence a short track is padded with.
bool IsToneStretch(const std::vector<std::uint8_t>& pcm);
