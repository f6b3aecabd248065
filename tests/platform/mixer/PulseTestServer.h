#pragma once

// Talking to the private sound server that with-pulse.sh starts for a test run.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

using snd_pcm_t = struct _snd_pcm;

namespace pulsetest {

// True inside with-pulse.sh; tests skip otherwise.
bool serverRunning();
pid_t serverPid();
// Runs "pactl ARGS" and returns what it printed, without the final line break.
std::string pactl(const std::string& arguments);
// The first channel's raw volume of a source as pactl shows it; -1 when unreadable.
long sourceVolume(const std::string& source);
// Adds a null source of that name; returns the module number.
std::string addSource(const std::string& name);

// The source this process's capture stream records from; empty when it has none.
std::string ownCaptureSource();

// A capture stream of this process on the server, opened the way the program's capture opens
// one (ALSA's pulse device), for as long as the object lives.
class OwnCaptureStream {
public:
    OwnCaptureStream();
    ~OwnCaptureStream();
    OwnCaptureStream(const OwnCaptureStream&) = delete;
    OwnCaptureStream& operator=(const OwnCaptureStream&) = delete;
    bool IsOpen() const { return m_pcm != nullptr; }

private:
    snd_pcm_t* m_pcm = nullptr;
};

// Tests against the private server: the mixer service is pointed at it and two null sources,
// sondrel_mic and sondrel_line, are added for each test (the server already has the monitor
// of its null sink). Skips outside with-pulse.sh.
class PulseSourcesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void addModule(const std::string& sourceName) { m_modules.push_back(addSource(sourceName)); }

private:
    std::vector<std::string> m_modules;
};

} // namespace pulsetest
