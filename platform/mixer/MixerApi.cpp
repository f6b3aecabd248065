#include "platform/mixer/MixerApi.h"

#include "platform/mixer/MixerBackendFactory.h"
#include "platform/mixer/MixerSession.h"
#include "platform/mixer/MixerText.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

using platform::mixer::CopyText;
using platform::mixer::MixerBackend;
using platform::mixer::MixerLayout;
using platform::mixer::MixerSession;
using platform::mixer::OpenMixerBackend;

namespace {

constexpr std::uint32_t kOnlyMixerId = 0;
constexpr std::chrono::milliseconds kCloseWaitPause{1};

std::mutex g_handlesLock;
std::map<HMIXER, std::shared_ptr<MixerSession>> g_handles;
// Handles are numbers that are never reused, so a closed handle stays invalid. relaxed:
// only uniqueness matters; the table lock publishes the handle.
std::atomic<std::uintptr_t> g_nextHandle{1};

std::shared_ptr<MixerSession> findSession(HMIXER mixer) {
    std::lock_guard guard(g_handlesLock);
    const auto found = g_handles.find(mixer);
    return found == g_handles.end() ? nullptr : found->second;
}

} // namespace

std::uint32_t mixerGetNumDevs() {
    return OpenMixerBackend() ? 1 : 0;
}

MMRESULT mixerGetDevCaps(std::uint32_t mixerId, MIXERCAPS* caps, std::uint32_t capsBytes) {
    if (caps == nullptr || capsBytes < sizeof(MIXERCAPS)) {
        return MMSYSERR_INVALPARAM;
    }
    if (mixerId != kOnlyMixerId) {
        return MMSYSERR_BADDEVICEID;
    }
    const std::unique_ptr<MixerBackend> backend = OpenMixerBackend();
    MixerLayout layout;
    if (!backend) {
        return MMSYSERR_NODRIVER;
    }
    if (!backend->ReadLayout(layout)) {
        return MMSYSERR_ERROR;
    }
    CopyText(caps->szPname, sizeof caps->szPname, layout.deviceName);
    caps->fdwSupport = 0;
    caps->cDestinations = 1;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetID(std::uintptr_t object, std::uint32_t* mixerId, std::uint32_t objectFlags) {
    if (mixerId == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    switch (objectFlags) {
    case MIXER_OBJECTF_HWAVEIN:
        if (object == 0) {
            return MMSYSERR_INVALHANDLE;
        }
        break;
    case MIXER_OBJECTF_WAVEIN:
        if (object != 0 && object != WAVE_MAPPER) {
            return MMSYSERR_BADDEVICEID;
        }
        break;
    case MIXER_OBJECTF_MIXER:
        if (object != kOnlyMixerId) {
            return MMSYSERR_BADDEVICEID;
        }
        break;
    default:
        return MMSYSERR_INVALFLAG;
    }
    if (!OpenMixerBackend()) {
        return MMSYSERR_NODRIVER;
    }
    *mixerId = kOnlyMixerId;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerOpen(HMIXER* mixer, std::uint32_t mixerId, MixerCallback callback,
                   std::uintptr_t instance, std::uint32_t openFlags) {
    if (mixer == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const bool withCallback = openFlags == CALLBACK_FUNCTION;
    if ((openFlags != CALLBACK_NULL && !withCallback) || (withCallback && callback == nullptr)) {
        return MMSYSERR_INVALFLAG;
    }
    if (mixerId != kOnlyMixerId) {
        return MMSYSERR_BADDEVICEID;
    }
    std::unique_ptr<MixerBackend> backend = OpenMixerBackend();
    if (!backend) {
        return MMSYSERR_NODRIVER;
    }
    MixerLayout layout;
    if (!backend->ReadLayout(layout)) {
        return MMSYSERR_ERROR;
    }
    auto session = std::make_shared<MixerSession>(std::move(backend), std::move(layout));
    // A handle is a number, never dereferenced; see g_nextHandle.
    const auto handle = reinterpret_cast<HMIXER>( // NOLINT(performance-no-int-to-ptr)
        g_nextHandle.fetch_add(1, std::memory_order_relaxed));
    if (withCallback) {
        session->NotifyTo(handle, callback, instance);
    }
    {
        std::lock_guard guard(g_handlesLock);
        g_handles.emplace(handle, std::move(session));
    }
    *mixer = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineInfo(HMIXER mixer, MIXERLINE* line, std::uint32_t infoFlags) {
    const std::shared_ptr<MixerSession> session = findSession(mixer);
    return session ? session->GetLineInfo(line, infoFlags) : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetLineControls(HMIXER mixer, MIXERLINECONTROLS* controls,
                              std::uint32_t controlsFlags) {
    const std::shared_ptr<MixerSession> session = findSession(mixer);
    return session ? session->GetLineControls(controls, controlsFlags) : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS* details,
                                std::uint32_t detailsFlags) {
    const std::shared_ptr<MixerSession> session = findSession(mixer);
    return session ? session->GetControlDetails(details, detailsFlags) : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerSetControlDetails(HMIXER mixer, const MIXERCONTROLDETAILS* details,
                                std::uint32_t detailsFlags) {
    const std::shared_ptr<MixerSession> session = findSession(mixer);
    return session ? session->SetControlDetails(details, detailsFlags) : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerClose(HMIXER mixer) {
    std::shared_ptr<MixerSession> session;
    {
        std::lock_guard guard(g_handlesLock);
        const auto found = g_handles.find(mixer);
        if (found == g_handles.end()) {
            return MMSYSERR_INVALHANDLE;
        }
        if (found->second->IsNotifierThread()) {
            return MMSYSERR_HANDLEBUSY;
        }
        session = std::move(found->second);
        g_handles.erase(found);
    }
    // A call on another thread may still hold the session; let it finish so that the
    // session (and its notification thread) always ends here, on the closing thread.
    // Once the handle is out of the table nobody can take a new reference.
    while (session.use_count() > 1) {
        std::this_thread::sleep_for(kCloseWaitPause);
    }
    session.reset();
    return MMSYSERR_NOERROR;
}
