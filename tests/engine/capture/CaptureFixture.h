#pragma once
// Runs the capture code over the real wave-in service with the input named in
// SONDREL_AUDIO_INPUT, and plays the part of the recording session: it
// prepares a sink, clears g_notRecording, and ends the take once the callback
// has moved on.

#include "platform/wave/WaveTypes.h"
#include "tests/engine/capture/RingReadingDisplay.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CaptureFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the input for the next OpenCapture.
    static void UseInput(const std::string& input);
    // Opens capture with record sources listed.
    void Open();
    // Closes capture if it is open; returns waveInClose's result.
    MMRESULT Close();

    // Buffers the callback has handed to the ring (kept or dropped).
    static std::uint64_t BuffersDelivered();
    // Waits until `condition` holds (fails the test after a generous bound).
    static void WaitUntil(const std::function<bool()>& condition, const char* what);
    // Waits for `count` more buffers after this call.
    static void WaitForBuffers(std::uint64_t count);

    // Sets every sink field for a WAV take on `path` (created beforehand, as
    // the session does) but leaves g_notRecording as it is.
    static void PrepareWavSink(const std::string& path);
    // PrepareWavSink, then clears g_notRecording.
    static void StartWavTake(const std::string& path);
    // Sets g_notRecording and waits until the callback that may have been
    // feeding the sink has returned.
    static void EndTake();

    testsupport::TempFolder m_folder;
    testsupport::ScriptedMessageBox m_messages;
    RingReadingDisplay m_display;

private:
    testsupport::ScopedMessageBoxHost m_host{m_messages};
};

// Checks that `pcm` is the tone signal from some whole capture buffer on,
// sample for sample; the index of that first buffer, or -1 when it is not.
std::int64_t FindToneStart(const std::vector<std::uint8_t>& pcm, std::uint64_t maxBuffer);
