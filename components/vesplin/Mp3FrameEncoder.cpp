#include "components/vesplin/Mp3FrameEncoder.h"

#include "components/vesplin/Utf16Text.h"

#include <climits>
#include <lame/lame.h>

namespace vesplin {

namespace {

// The worst case the library documents for the output of n samples per
// channel: 1.25 n + 7200 bytes.
std::size_t WorstCaseBytes(std::size_t frames) {
    return frames + frames / 4 + 7200;
}

// The bytes `get(buffer, size)` copies out, after asking it for their number
// with an empty buffer; empty when it has none or fails.
template <typename Get> std::vector<std::uint8_t> FetchBytes(Get get) {
    const std::size_t needed = get(nullptr, 0);
    std::vector<std::uint8_t> bytes(needed);
    if (needed == 0 || get(bytes.data(), bytes.size()) != needed) {
        return {};
    }
    return bytes;
}

} // namespace

Mp3FrameEncoder::~Mp3FrameEncoder() {
    Release();
}

void Mp3FrameEncoder::Release() {
    if (m_lame != nullptr) {
        lame_close(m_lame);
        m_lame = nullptr;
    }
}

bool Mp3FrameEncoder::Start(const Mp3Settings& settings, const Mp3Tags& tags) {
    Release();
    m_lame = lame_init();
    if (m_lame == nullptr) {
        return false;
    }
    lame_set_in_samplerate(m_lame, kSampleRateHz);
    lame_set_out_samplerate(m_lame, kSampleRateHz);
    lame_set_num_channels(m_lame, kChannels);
    lame_set_mode(m_lame, JOINT_STEREO);
    if (settings.mode == Mp3Mode::Vbr) {
        lame_set_VBR(m_lame, vbr_default);
        lame_set_VBR_q(m_lame, settings.vbrQuality);
    } else {
        lame_set_VBR(m_lame, vbr_off);
        lame_set_brate(m_lame, settings.bitRateKbps);
    }
    // The summary frame carries the encoder delay and padding, so players cut
    // the take back to exactly the samples that were recorded.
    lame_set_bWriteVbrTag(m_lame, 1);
    SetTags(tags);
    if (lame_init_params(m_lame) < 0) {
        Release();
        return false;
    }
    return true;
}

void Mp3FrameEncoder::SetTags(const Mp3Tags& tags) {
    // The tag is fetched with Id3v2Tag() and written by the caller, so that
    // the caller knows where the audio frames begin.
    lame_set_write_id3tag_automatic(m_lame, 0);
    if (tags.title.empty()) {
        return;
    }
    id3tag_init(m_lame);
    id3tag_add_v2(m_lame);
    id3tag_v2_only(m_lame);
    const std::vector<unsigned short> title = ToUtf16WithBom(tags.title);
    id3tag_set_textinfo_utf16(m_lame, "TIT2", title.data());
    if (tags.trackNumber >= 1 && tags.trackNumber <= 99) {
        id3tag_set_track(m_lame, std::to_string(tags.trackNumber).c_str());
    }
}

std::vector<std::uint8_t> Mp3FrameEncoder::Id3v2Tag() const {
    if (m_lame == nullptr) {
        return {};
    }
    return FetchBytes([this](unsigned char* buffer, std::size_t size) {
        return lame_get_id3v2_tag(m_lame, buffer, size);
    });
}

bool Mp3FrameEncoder::Encode(const std::int16_t* interleaved, std::size_t frames,
                             std::vector<std::uint8_t>& out) {
    out.clear();
    if (m_lame == nullptr || frames > INT_MAX / 2) {
        return false;
    }
    if (frames == 0) {
        return true;
    }
    out.resize(WorstCaseBytes(frames));
    // The library does not write to the input; its interface is not const.
    const int bytes = lame_encode_buffer_interleaved(m_lame, const_cast<short*>(interleaved),
                                                     static_cast<int>(frames), out.data(),
                                                     static_cast<int>(out.size()));
    out.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    return bytes >= 0;
}

bool Mp3FrameEncoder::Flush(std::vector<std::uint8_t>& out) {
    out.clear();
    if (m_lame == nullptr) {
        return false;
    }
    out.resize(WorstCaseBytes(0));
    const int bytes = lame_encode_flush(m_lame, out.data(), static_cast<int>(out.size()));
    out.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    return bytes >= 0;
}

std::vector<std::uint8_t> Mp3FrameEncoder::LameTagFrame() const {
    if (m_lame == nullptr) {
        return {};
    }
    return FetchBytes([this](unsigned char* buffer, std::size_t size) {
        return lame_get_lametag_frame(m_lame, buffer, size);
    });
}

} // namespace vesplin
