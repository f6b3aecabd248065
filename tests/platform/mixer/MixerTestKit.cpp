#include "tests/platform/mixer/MixerTestKit.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace mixertest {

MMRESULT destination(HMIXER mixer, MIXERLINE& line) {
    line = MIXERLINE{};
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    return mixerGetLineInfo(mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE);
}

MMRESULT sourceLine(HMIXER mixer, std::uint32_t index, MIXERLINE& line) {
    line = MIXERLINE{};
    line.dwDestination = 0;
    line.dwSource = index;
    return mixerGetLineInfo(mixer, &line, MIXER_GETLINEINFOF_SOURCE);
}

MMRESULT selectControl(HMIXER mixer, SelectControl& control) {
    MIXERLINE line;
    if (const MMRESULT result = destination(mixer, line); result != MMSYSERR_NOERROR) {
        return result;
    }
    MIXERCONTROL found;
    MIXERLINECONTROLS controls;
    controls.dwLineID = line.dwLineID;
    controls.cControls = 1;
    controls.pamxctrl = &found;
    MMRESULT result = MIXERR_INVALCONTROL;
    for (const std::uint32_t type :
         {MIXERCONTROL_CONTROLTYPE_MUX, MIXERCONTROL_CONTROLTYPE_MIXER}) {
        controls.dwControlType = type;
        result = mixerGetLineControls(mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE);
        if (result == MMSYSERR_NOERROR) {
            control = {found.dwControlID, found.dwControlType, found.cMultipleItems};
            return result;
        }
    }
    return result;
}

namespace {

MIXERCONTROLDETAILS itemDetails(const SelectControl& control, std::uint32_t itemBytes,
                                void* items) {
    MIXERCONTROLDETAILS details;
    details.dwControlID = control.id;
    details.cChannels = 1;
    details.cMultipleItems = control.items;
    details.cbDetails = itemBytes;
    details.paDetails = items;
    return details;
}

} // namespace

MMRESULT itemTexts(HMIXER mixer, const SelectControl& control,
                   std::vector<MIXERCONTROLDETAILS_LISTTEXT>& texts) {
    texts.assign(std::max<std::uint32_t>(control.items, 1), MIXERCONTROLDETAILS_LISTTEXT{});
    MIXERCONTROLDETAILS details =
        itemDetails(control, sizeof(MIXERCONTROLDETAILS_LISTTEXT), texts.data());
    const MMRESULT result =
        mixerGetControlDetails(mixer, &details, MIXER_GETCONTROLDETAILSF_LISTTEXT);
    texts.resize(control.items);
    return result;
}

int itemOfType(HMIXER mixer, std::uint32_t componentType) {
    SelectControl control;
    std::vector<MIXERCONTROLDETAILS_LISTTEXT> texts;
    if (selectControl(mixer, control) != MMSYSERR_NOERROR ||
        itemTexts(mixer, control, texts) != MMSYSERR_NOERROR) {
        return -1;
    }
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const auto& text) {
        return text.dwParam2 == componentType;
    });
    return found == texts.end() ? -1 : static_cast<int>(found - texts.begin());
}

MMRESULT readItems(HMIXER mixer, const SelectControl& control, std::vector<std::int32_t>& values) {
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> items(std::max<std::uint32_t>(control.items, 1));
    MIXERCONTROLDETAILS details =
        itemDetails(control, sizeof(MIXERCONTROLDETAILS_BOOLEAN), items.data());
    const MMRESULT result = mixerGetControlDetails(mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE);
    values.clear();
    for (std::uint32_t i = 0; i < control.items; ++i) {
        values.push_back(items[i].fValue);
    }
    return result;
}

MMRESULT writeItems(HMIXER mixer, const SelectControl& control, std::vector<std::int32_t> values) {
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> items(std::max<std::size_t>(values.size(), 1));
    for (std::size_t i = 0; i < values.size(); ++i) {
        items[i].fValue = values[i];
    }
    MIXERCONTROLDETAILS details =
        itemDetails(control, sizeof(MIXERCONTROLDETAILS_BOOLEAN), items.data());
    return mixerSetControlDetails(mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE);
}

MMRESULT chooseItem(HMIXER mixer, std::uint32_t item) {
    SelectControl control;
    std::vector<std::int32_t> values;
    MMRESULT result = selectControl(mixer, control);
    if (result == MMSYSERR_NOERROR) {
        result = readItems(mixer, control, values);
    }
    if (result != MMSYSERR_NOERROR) {
        return result;
    }
    values.at(item) = 1;
    return writeItems(mixer, control, values);
}

int chosenItem(HMIXER mixer) {
    SelectControl control;
    std::vector<std::int32_t> values;
    if (selectControl(mixer, control) != MMSYSERR_NOERROR ||
        readItems(mixer, control, values) != MMSYSERR_NOERROR ||
        std::count(values.begin(), values.end(), 1) != 1) {
        return -1;
    }
    return static_cast<int>(std::find(values.begin(), values.end(), 1) - values.begin());
}

MMRESULT volumeControl(HMIXER mixer, std::uint32_t source, MIXERCONTROL& control) {
    MIXERLINE line;
    if (const MMRESULT result = sourceLine(mixer, source, line); result != MMSYSERR_NOERROR) {
        return result;
    }
    MIXERLINECONTROLS controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.pamxctrl = &control;
    return mixerGetLineControls(mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE);
}

MMRESULT readVolume(HMIXER mixer, std::uint32_t controlId, std::uint32_t channels,
                    std::vector<std::uint32_t>& values) {
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> items(std::max<std::uint32_t>(channels, 1));
    MIXERCONTROLDETAILS details;
    details.dwControlID = controlId;
    details.cChannels = channels;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = items.data();
    const MMRESULT result = mixerGetControlDetails(mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE);
    values.clear();
    for (std::uint32_t c = 0; c < channels; ++c) {
        values.push_back(items[c].dwValue);
    }
    return result;
}

MMRESULT writeVolume(HMIXER mixer, std::uint32_t controlId, std::vector<std::uint32_t> values) {
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> items(std::max<std::size_t>(values.size(), 1));
    for (std::size_t c = 0; c < values.size(); ++c) {
        items[c].dwValue = values[c];
    }
    MIXERCONTROLDETAILS details;
    details.dwControlID = controlId;
    details.cChannels = static_cast<std::uint32_t>(values.size());
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = items.data();
    return mixerSetControlDetails(mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE);
}

OpenedMixers::~OpenedMixers() {
    for (HMIXER mixer : m_opened) {
        mixerClose(mixer); // refused harmlessly when the test closed it already
    }
}

HMIXER OpenedMixers::open(NotificationLog* log) {
    HMIXER mixer = nullptr;
    const MMRESULT result =
        log == nullptr ? mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL)
                       : mixerOpen(&mixer, 0, &NotificationLog::onMessage,
                                   reinterpret_cast<std::uintptr_t>(log), CALLBACK_FUNCTION);
    EXPECT_EQ(result, MMSYSERR_NOERROR);
    m_opened.push_back(mixer);
    return mixer;
}

std::uint32_t volumeId(HMIXER mixer, std::uint32_t source) {
    MIXERCONTROL control;
    EXPECT_EQ(volumeControl(mixer, source, control), MMSYSERR_NOERROR);
    return control.dwControlID;
}

VirtualMixerSandbox::VirtualMixerSandbox() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = std::filesystem::temp_directory_path() /
               ("sondrel-mixer-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" +
                test->name());
    std::filesystem::remove_all(m_folder);
    setenv("SONDREL_MIXER", "virtual", 1);
    setenv("SONDREL_MIXER_STATE", statePath().c_str(), 1);
}

VirtualMixerSandbox::~VirtualMixerSandbox() {
    for (const char* name :
         {"SONDREL_MIXER", "SONDREL_MIXER_STATE", "SONDREL_MIXER_DEVICE", "SONDREL_AUDIO_INPUT"}) {
        unsetenv(name);
    }
    std::filesystem::remove_all(m_folder);
}

void NotificationLog::onMessage(HMIXER /*mixer*/, std::uint32_t message, std::uintptr_t instance,
                                std::uint32_t id) {
    auto* log = reinterpret_cast<NotificationLog*>(instance);
    {
        std::lock_guard guard(log->m_lock);
        log->m_messages.emplace_back(message, id);
    }
    log->m_arrived.notify_all();
}

bool NotificationLog::waitFor(std::uint32_t message, std::uint32_t id) {
    std::unique_lock guard(m_lock);
    return m_arrived.wait_for(guard, std::chrono::seconds(10), [&] {
        return std::find(m_messages.begin(), m_messages.end(), std::make_pair(message, id)) !=
               m_messages.end();
    });
}

bool NotificationLog::has(std::uint32_t message, std::uint32_t id) {
    std::lock_guard guard(m_lock);
    return std::find(m_messages.begin(), m_messages.end(), std::make_pair(message, id)) !=
           m_messages.end();
}

void NotificationLog::clear() {
    std::lock_guard guard(m_lock);
    m_messages.clear();
}

} // namespace mixertest
