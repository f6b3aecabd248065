#include "platform/wave/WaveSettings.h"

#include <cstdlib>
#include <mutex>

namespace platform::wave {

namespace {

std::mutex g_settingsMutex;

// Under g_settingsMutex.
WaveSettings& storedSettings() {
    static WaveSettings settings;
    return settings;
}

std::string_view pick(const std::string& setting, const char* env) {
    if (env != nullptr && *env != '\0') {
        return env;
    }
    return setting;
}

} // namespace

WaveBackends ChooseWaveBackends(const WaveSettings& settings, const char* envInput,
                                const char* envOutput) {
    WaveBackends backends;
    backends.input = BackendChoice::Parse(pick(settings.input, envInput), WaveDirection::Input);
    backends.output = BackendChoice::Parse(pick(settings.output, envOutput), WaveDirection::Output);
    return backends;
}

void SetWaveSettings(const WaveSettings& settings) {
    const std::lock_guard lock(g_settingsMutex);
    storedSettings() = settings;
}

WaveBackends CurrentWaveBackends() {
    WaveSettings settings;
    {
        const std::lock_guard lock(g_settingsMutex);
        settings = storedSettings();
    }
    // The program never changes its environment while it runs, so reading it
    // from any thread is safe here.
    const char* input = std::getenv("SONDREL_AUDIO_INPUT");   // NOLINT(concurrency-mt-unsafe)
    const char* output = std::getenv("SONDREL_AUDIO_OUTPUT"); // NOLINT(concurrency-mt-unsafe)
    return ChooseWaveBackends(settings, input, output);
}

} // namespace platform::wave
