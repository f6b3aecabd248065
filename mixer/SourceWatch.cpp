#include "mixer/SourceWatch.h"

#include "platform/mixer/MixerApi.h"

#include <utility>

SourceWatch::SourceWatch(std::function<void()> linesChanged)
    : m_linesChanged(std::move(linesChanged)) {}

SourceWatch::~SourceWatch() {
    Close();
}

bool SourceWatch::Open() {
    Close();
    std::uint32_t mixerId = 0;
    if (mixerGetID(WAVE_MAPPER, &mixerId, MIXER_OBJECTF_WAVEIN) != MMSYSERR_NOERROR ||
        mixerOpen(&m_mixer, mixerId, &SourceWatch::OnMixerChange,
                  reinterpret_cast<std::uintptr_t>(this), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        m_mixer = nullptr;
        return false;
    }
    return true;
}

void SourceWatch::Close() {
    if (m_mixer != nullptr) {
        // Waits for a notification in progress, so none reaches a closed watch.
        mixerClose(m_mixer);
        m_mixer = nullptr;
    }
}

void SourceWatch::OnMixerChange(HMIXER /*mixer*/, std::uint32_t message, std::uintptr_t instance,
                                std::uint32_t /*parameter*/) {
    if (message == MM_MIXM_LINE_CHANGE) {
        // The instance is the watch's own address, given at opening.
        auto* watch = reinterpret_cast<SourceWatch*>(instance); // NOLINT(performance-no-int-to-ptr)
        watch->m_linesChanged();
    }
}
