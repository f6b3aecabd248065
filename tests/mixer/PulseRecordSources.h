#pragma once
// Recording sources over the private sound server of with-pulse.sh: the pulse
// mixer, capture through ALSA's pulse device, a scripted message box, a list
// selector and a recording slider. Skips outside with-pulse.sh.

#include "mixer/RecordSources.h"
#include "tests/mixer/ListSelector.h"
#include "tests/mixer/RecordingSlider.h"
#include "tests/platform/mixer/PulseTestServer.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

class PulseRecordSources : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pulsetest::serverRunning()) {
            GTEST_SKIP() << "no private sound server: run through with-pulse.sh";
        }
        setenv("SONDREL_MIXER", "pulse", 1);
        setenv("SONDREL_AUDIO_INPUT", "alsa:pulse", 1);
    }
    void TearDown() override {
        unsetenv("SONDREL_AUDIO_INPUT");
        unsetenv("SONDREL_MIXER");
    }

    testsupport::ScriptedMessageBox m_messages;
    testsupport::ScopedMessageBoxHost m_host{m_messages};
    ListSelector m_selector;
    RecordingSlider m_slider;
    RecordSources m_sources{m_selector, m_slider};
};
