#include "platform/wave/WaveSettings.h"

#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_settingsMutex;
WaveSettings g_settings;

std::string_view pick(const std::string& setting, const char* env) {
    if (env != nullptr && *env != '\0') {
        return env;
    }
    return setting;
}

} // namespace

WaveBackends chooseWaveBackends(const WaveSettings& settings, const char* envInput,
                                const char* envOutput) {
    WaveBackends backends;
    backends.input = BackendSpec::parse(pick(settings.input, envInput), WaveDirection::Input);
    backends.output = BackendSpec::parse(pick(settings.output, envOutput), WaveDirection::Output);
    return backends;
}

void waveSetSettings(const WaveSettings& settings) {
    const std::lock_guard lock(g_settingsMutex);
    g_settings = settings;
}

WaveBackends currentWaveBackends() {
    WaveSettings settings;
    {
        const std::lock_guard lock(g_settingsMutex);
        settings = g_settings;
    }
    // getenv is only read here; the program does not change these variables
    // while it runs.
    return chooseWaveBackends(settings, std::getenv("SONDREL_AUDIO_INPUT"),
                              std::getenv("SONDREL_AUDIO_OUTPUT"));
}
