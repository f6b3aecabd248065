#pragma once

// Small helpers for tests that walk the mixer the way the program does.

#include "platform/mixer/MixerApi.h"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace mixertest {

// The sources of the virtual mixer, in the order of its select control.
inline constexpr std::uint32_t kMicrophone = 0;
inline constexpr std::uint32_t kLineIn = 1;
inline constexpr std::uint32_t kCdAudio = 2;
inline constexpr std::uint32_t kAux = 3;

struct SelectControl {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t items = 0;
};

MMRESULT destination(HMIXER mixer, MIXERLINE& line);
MMRESULT sourceLine(HMIXER mixer, std::uint32_t index, MIXERLINE& line);
// The MUX of the recording line, else its MIXER.
MMRESULT selectControl(HMIXER mixer, SelectControl& control);
MMRESULT itemTexts(HMIXER mixer, const SelectControl& control,
                   std::vector<MIXERCONTROLDETAILS_LISTTEXT>& texts);
// The item of the select control whose line has that component type, or -1.
int itemOfType(HMIXER mixer, std::uint32_t componentType);
MMRESULT readItems(HMIXER mixer, const SelectControl& control, std::vector<std::int32_t>& values);
MMRESULT writeItems(HMIXER mixer, const SelectControl& control, std::vector<std::int32_t> values);
// Reads the items, sets one and writes them all back (other items keep their values).
MMRESULT chooseItem(HMIXER mixer, std::uint32_t item);
// The index of the one item set, or -1.
int chosenItem(HMIXER mixer);
MMRESULT volumeControl(HMIXER mixer, std::uint32_t source, MIXERCONTROL& control);
MMRESULT readVolume(HMIXER mixer, std::uint32_t controlId, std::uint32_t channels,
                    std::vector<std::uint32_t>& values);
MMRESULT writeVolume(HMIXER mixer, std::uint32_t controlId, std::vector<std::uint32_t> values);

class NotificationLog;

// Handles opened by a test, all closed when it ends (also after a failed assertion), so
// that no callback outlives what it reports to.
class OpenedMixers {
public:
    OpenedMixers() = default;
    ~OpenedMixers();
    OpenedMixers(const OpenedMixers&) = delete;
    OpenedMixers& operator=(const OpenedMixers&) = delete;

    // Opens mixer 0, reporting changes to log when one is given.
    HMIXER open(NotificationLog* log = nullptr);

private:
    std::vector<HMIXER> m_opened;
};

// The identifier of a source's volume control.
std::uint32_t volumeId(HMIXER mixer, std::uint32_t source);

// Points the mixer service at the virtual mixer with a state file of the running test's
// own, in a fresh folder; undoes it all when destroyed.
class VirtualMixerSandbox {
public:
    VirtualMixerSandbox();
    ~VirtualMixerSandbox();
    VirtualMixerSandbox(const VirtualMixerSandbox&) = delete;
    VirtualMixerSandbox& operator=(const VirtualMixerSandbox&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path statePath() const { return m_folder / "mixer.ini"; }

private:
    std::filesystem::path m_folder;
};

// Collects change messages; pass &log as the instance of mixerOpen with onMessage.
class NotificationLog {
public:
    static void onMessage(HMIXER mixer, std::uint32_t message, std::uintptr_t instance,
                          std::uint32_t id);
    // Waits (at most a generous 10 s, so that a lost message fails instead of hanging)
    // until a message of that kind for that id has arrived.
    bool waitFor(std::uint32_t message, std::uint32_t id);
    bool has(std::uint32_t message, std::uint32_t id);
    void clear();

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_messages;
};

} // namespace mixertest
