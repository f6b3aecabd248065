#include "platform/wave/CaptureDevices.h"

#include "platform/wave/AlsaPcm.h"

#include <algorithm>

namespace platform::wave {

namespace {

struct CtlCloser {
    void operator()(snd_ctl_t* ctl) const { snd_ctl_close(ctl); }
};

void addCardCaptureDevices(int card, std::vector<CaptureDevice>& devices) {
    snd_ctl_t* raw = nullptr;
    const std::string cardName = "hw:" + std::to_string(card);
    if (snd_ctl_open(&raw, cardName.c_str(), 0) < 0) {
        return;
    }
    const std::unique_ptr<snd_ctl_t, CtlCloser> ctl(raw);
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_alloca(&info);
    int device = -1;
    while (snd_ctl_pcm_next_device(ctl.get(), &device) >= 0 && device >= 0) {
        snd_pcm_info_set_device(info, static_cast<unsigned>(device));
        snd_pcm_info_set_subdevice(info, 0);
        snd_pcm_info_set_stream(info, SND_PCM_STREAM_CAPTURE);
        if (snd_ctl_pcm_info(ctl.get(), info) < 0) {
            continue; // a playback-only device
        }
        devices.push_back(
            {"alsa:" + cardName + "," + std::to_string(device), snd_pcm_info_get_name(info)});
    }
}

} // namespace

std::vector<CaptureDevice> ListCaptureDevices(const std::optional<BackendChoice>& input) {
    std::vector<CaptureDevice> devices;
    if (!input) {
        return devices;
    }
    if (input->IsVirtual()) {
        devices.push_back({input->Text(), "virtual input"});
        return devices;
    }
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0) {
        addCardCaptureDevices(card, devices);
    }
    const std::string configured = input->Text();
    const bool listed = std::ranges::any_of(
        devices, [&](const CaptureDevice& device) { return device.name == configured; });
    if (!listed && CanOpenAlsaPcm(input->argument, SND_PCM_STREAM_CAPTURE)) {
        devices.push_back({configured, "configured capture device"});
    }
    return devices;
}

} // namespace platform::wave
