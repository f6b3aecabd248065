#include "tests/platform/mixer/PulseTestServer.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace pulsetest {

bool serverRunning() {
    const char* flag = std::getenv("SONDREL_TEST_PULSE");
    return flag != nullptr && std::string(flag) == "1";
}

pid_t serverPid() {
    const char* pid = std::getenv("SONDREL_TEST_PULSE_PID");
    return pid == nullptr ? 0 : static_cast<pid_t>(std::atol(pid));
}

std::string pactl(const std::string& arguments) {
    const std::string command = "pactl " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::string output;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        output += buffer.data();
    }
    pclose(pipe);
    while (!output.empty() && output.back() == '\n') {
        output.pop_back();
    }
    return output;
}

long sourceVolume(const std::string& source) {
    const std::string text = pactl("get-source-volume " + source);
    std::smatch match;
    static const std::regex firstChannel(R"(:\s*(\d+)\s*/)");
    if (!std::regex_search(text, match, firstChannel)) {
        return -1;
    }
    return std::stol(match[1].str());
}

std::string addSource(const std::string& name) {
    return pactl("load-module module-null-source source_name=" + name);
}

std::string ownCaptureSource() {
    std::istringstream outputs(pactl("list source-outputs"));
    const std::string ownProcess = "application.process.id = \"" + std::to_string(getpid()) + "\"";
    std::string sourceIndex;
    std::string ownIndex;
    for (std::string line; std::getline(outputs, line);) {
        if (line.starts_with("Source Output #")) {
            sourceIndex.clear();
        } else if (const auto at = line.find("Source: "); at != std::string::npos) {
            sourceIndex = line.substr(at + 8);
        } else if (line.find(ownProcess) != std::string::npos) {
            ownIndex = sourceIndex;
        }
    }
    std::istringstream sources(pactl("list short sources"));
    for (std::string line; std::getline(sources, line);) {
        std::istringstream fields(line);
        std::string index;
        std::string name;
        if (fields >> index >> name && !ownIndex.empty() && index == ownIndex) {
            return name;
        }
    }
    return {};
}

OwnCaptureStream::OwnCaptureStream() {
    if (snd_pcm_open(&m_pcm, "pulse", SND_PCM_STREAM_CAPTURE, 0) < 0) {
        m_pcm = nullptr;
        return;
    }
    if (snd_pcm_set_params(m_pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2, 44100, 1,
                           500000) < 0 ||
        snd_pcm_start(m_pcm) < 0) {
        snd_pcm_close(m_pcm);
        m_pcm = nullptr;
    }
}

OwnCaptureStream::~OwnCaptureStream() {
    if (m_pcm != nullptr) {
        snd_pcm_close(m_pcm);
    }
}

void PulseSourcesTest::SetUp() {
    if (!serverRunning()) {
        GTEST_SKIP() << "no private sound server: run through with-pulse.sh";
    }
    setenv("SONDREL_MIXER", "pulse", 1);
    addModule("sondrel_mic");
    addModule("sondrel_line");
}

void PulseSourcesTest::TearDown() {
    for (const std::string& module : m_modules) {
        pactl("unload-module " + module);
    }
    unsetenv("SONDREL_MIXER");
}

} // namespace pulsetest
