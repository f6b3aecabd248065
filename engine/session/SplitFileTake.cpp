#include "engine/session/SplitFileTake.h"

#include "components/vesplin/EncodeFile.h"
#include "components/vesplin/Mp3Settings.h"
#include "components/vesplin/PcmFileWriter.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "engine/session/RunningTake.h"
#include "engine/session/SilenceSplitter.h"
#include "lang/LangText.h"
#include "util/ThreadName.h"

#include <array>
#include <cstdio>
#include <vector>

namespace engine {

namespace {

constexpr std::size_t kFrameBytes = 4;

// One file of the take: WAV through the take's own header and append file,
// MP3 through the encoder's file writer.
class PartFile {
public:
    PartFile(std::string path, bool mp3) : m_path(std::move(path)), m_mp3(mp3), m_writer(m_output) {
        if (m_mp3) {
            m_ok = m_writer.Begin(m_path, vesplin::PcmFileFormat::Mp3,
                                  vesplin::ReadMp3Settings(lang::GetAppDir() + "SoftSet.ini"),
                                  vesplin::Mp3Tags{}, 0);
            return;
        }
        m_ok = CreateWavFile(m_path) && g_wavFile.Open(m_path);
        if (m_ok) {
            RememberRunningTake(m_path);
        }
    }
    ~PartFile() {
        if (m_mp3) {
            m_writer.Finish();
            return;
        }
        g_wavFile.Close();
        PatchWavSizes(m_path);
        ForgetRunningTake();
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // False when the file could not be begun or a write failed.
    [[nodiscard]] bool Ok() const { return m_ok; }
    bool Write(const std::int16_t* samples, std::size_t frames) {
        if (!m_ok) {
            return false;
        }
        if (m_mp3) {
            m_ok = m_writer.Write(samples, frames);
            return m_ok;
        }
        const std::size_t bytes = frames * kFrameBytes;
        g_wavFile.Append(reinterpret_cast<const std::uint8_t*>(samples), bytes);
        g_wavBytesWritten.fetch_add(static_cast<std::uint32_t>(bytes), std::memory_order_relaxed);
        m_wavBytes += bytes;
        m_ok = g_wavFile.WriteError() == 0;
        return m_ok;
    }
    [[nodiscard]] std::uint64_t Bytes() const {
        return m_mp3 ? m_writer.FileBytes() : kTakeWavHeaderBytes + m_wavBytes;
    }

private:
    std::string m_path;
    bool m_mp3;
    vesplin::EncodeFile m_output;
    vesplin::PcmFileWriter m_writer;
    std::uint64_t m_wavBytes = 0;
    bool m_ok = false;
};

} // namespace

std::string SplitPartPath(const std::string& path, unsigned part) {
    if (part <= 1) {
        return path;
    }
    std::array<char, 16> suffix{};
    std::snprintf(suffix.data(), suffix.size(), "-%02u", part);
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::size_t at = hasExtension ? dot : path.size();
    return path.substr(0, at) + suffix.data() + path.substr(at);
}

SplitFileTake::~SplitFileTake() {
    Finish();
}

void SplitFileTake::Start(const std::string& path, bool mp3, const SplitSettings& settings) {
    Finish();
    g_mp3Queue.Reset();
    m_part.store(1, std::memory_order_relaxed);
    m_fileBytes.store(0, std::memory_order_relaxed);
    m_failed.store(false, std::memory_order_relaxed);
    m_thread = std::thread([this, path, mp3, settings] {
        util::NameThisThread("file-writer");
        Run(path, mp3, settings);
    });
}

void SplitFileTake::Finish() {
    if (!m_thread.joinable()) {
        return;
    }
    g_mp3Queue.SetStop(true);
    m_thread.join();
}

void SplitFileTake::Run(const std::string& path, bool mp3, const SplitSettings& settings) {
    SilenceSplitter splitter(settings, 1);
    unsigned part = 1;
    auto file = std::make_unique<PartFile>(path, mp3);
    bool ok = file->Ok();
    std::vector<std::int16_t> samples(kCaptureBufferBytes / sizeof(std::int16_t));
    while (!g_mp3Queue.IsFinished()) {
        std::uint32_t length = kCaptureBufferBytes;
        if (!g_mp3Queue.GetData(reinterpret_cast<std::uint8_t*>(samples.data()), &length)) {
            continue;
        }
        const std::int16_t* sound = samples.data();
        std::size_t frames = length / kFrameBytes;
        while (ok && frames > 0) {
            const std::optional<std::size_t> kept = splitter.Feed(sound, frames);
            const std::size_t written = kept.value_or(frames);
            ok = file->Write(sound, written);
            sound += 2 * written;
            frames -= written;
            if (ok && kept) {
                file.reset(); // complete before the next file begins
                m_part.store(++part, std::memory_order_relaxed);
                file = std::make_unique<PartFile>(SplitPartPath(path, part), mp3);
                ok = file->Ok();
            }
            m_fileBytes.store(file->Bytes(), std::memory_order_relaxed);
        }
        if (!ok) {
            m_failed.store(true, std::memory_order_relaxed); // the rest of the queue goes
        }
    }
}

} // namespace engine
