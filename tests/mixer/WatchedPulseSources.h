#pragma once
// The recording sources over the private sound server with a source watch, as
// the window runs them: each change the watch hears is followed by opening the
// watch again and reading the list again.

#include "mixer/SourceWatch.h"
#include "tests/mixer/PulseRecordSources.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace pulsetest {

// Loads a source of its own on the server; the module's number.
inline std::string AddInput(const std::string& name, const std::string& description) {
    return pactl("load-module module-null-source source_name=" + name +
                 " description=" + description);
}

// Looks every 50 ms for up to 30 s; false when the condition never came true.
inline bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace pulsetest

class WatchedPulseSources : public PulseRecordSources {
protected:
    void TearDown() override {
        m_watch.Close();
        PulseRecordSources::TearDown();
    }

    // False when no change was heard.
    bool FollowChange() {
        const bool heard = pulsetest::WaitFor([this] { return m_changes.load() > m_followed; });
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the rest of a burst
        m_followed = m_changes.load();
        m_watch.Open();
        m_sources.OnSourcesChanged();
        return heard;
    }

    std::atomic<int> m_changes{0};
    int m_followed = 0;
    SourceWatch m_watch{[this] { ++m_changes; }};
};
