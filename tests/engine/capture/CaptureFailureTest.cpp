// Capture that cannot start: the message, and no take possible.

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "tests/engine/capture/CaptureFixture.h"

#include <gtest/gtest.h>

namespace {

using CaptureFailure = CaptureFixture;

TEST_F(CaptureFailure, ADeviceThatDoesNotExistShowsMessage7) {
    UseInput("alsa:nonexistent");
    Open();
    EXPECT_EQ(g_hWaveIn, nullptr);
    EXPECT_TRUE(g_notRecording.load());
    EXPECT_TRUE(g_captureClosing.load());
    EXPECT_TRUE(g_waveRing.IsStopped());
    const auto shown = m_messages.ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, 0u);
    EXPECT_EQ(shown[0].text, lang::GetLangString("Message", 7));
}

TEST_F(CaptureFailure, AnUnusableInputSettingShowsMessage7) {
    UseInput("no-such-kind:of-input");
    Open();
    EXPECT_EQ(g_hWaveIn, nullptr);
    EXPECT_TRUE(g_notRecording.load());
    ASSERT_EQ(m_messages.ShownCount(), 1u);
    EXPECT_EQ(m_messages.ShownMessages()[0].style, 0u);
}

} // namespace
