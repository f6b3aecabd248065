#include "tests/engine/capture/CaptureFixture.h"

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "platform/wave/ToneSource.h"

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace platform::wave;

namespace {

// Generous bound for waiting on the capture threads: reaching it means a hang.
constexpr auto kHangLimit = std::chrono::seconds(60);
constexpr std::uint32_t kRingBytes = 16 * kCaptureBufferBytes;

} // namespace

void CaptureFixture::SetUp() {
    g_waveRing.Init(kRingBytes, 0xFFFFFFFFu);
    g_notRecording.store(true);
    g_captureClosing.store(true);
    g_toFile.store(false);
    g_fileType.store(kFileTypeNone);
    g_outputPath.clear();
    g_wavBytesWritten.store(0);
    g_mp3Queue.Reset();
    g_cdQueue.Reset();
    UseInput("tone");
}

void CaptureFixture::TearDown() {
    if (g_hWaveIn != nullptr) {
        Close();
    }
    g_wavFile.Close();
    unsetenv("SONDREL_AUDIO_INPUT");
}

void CaptureFixture::UseInput(const std::string& input) {
    setenv("SONDREL_AUDIO_INPUT", input.c_str(), 1);
}

void CaptureFixture::Open() {
    OpenCapture(true, m_display);
}

MMRESULT CaptureFixture::Close() {
    return CloseCapture();
}

std::uint64_t CaptureFixture::BuffersDelivered() {
    return (g_waveRing.GetWriteTotal() + g_waveRing.GetDroppedBytes()) / kCaptureBufferBytes;
}

void CaptureFixture::WaitUntil(const std::function<bool()>& condition, const char* what) {
    const auto limit = std::chrono::steady_clock::now() + kHangLimit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            FAIL() << "gave up waiting: " << what;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void CaptureFixture::WaitForBuffers(std::uint64_t count) {
    const std::uint64_t target = BuffersDelivered() + count;
    WaitUntil([target] { return BuffersDelivered() >= target; }, "capture buffers");
}

void CaptureFixture::PrepareWavSink(const std::string& path) {
    g_outputPath = path;
    g_wavFile.Open(path);
    g_wavBytesWritten.store(0);
    g_toFile.store(true, std::memory_order_relaxed);
    g_fileType.store(kFileTypeWav, std::memory_order_relaxed);
}

void CaptureFixture::StartWavTake(const std::string& path) {
    PrepareWavSink(path);
    g_notRecording.store(false, std::memory_order_release);
}

void CaptureFixture::StartQueueTake(bool toFile, std::int32_t fileType) {
    g_toFile.store(toFile, std::memory_order_relaxed);
    g_fileType.store(fileType, std::memory_order_relaxed);
    g_notRecording.store(false, std::memory_order_release);
}

void CaptureFixture::EndTake() {
    g_notRecording.store(true, std::memory_order_release);
    // Callbacks run one after another: once two more buffers reached the
    // ring, the one that may have seen the take running has returned.
    WaitForBuffers(2);
}

std::vector<std::uint8_t> CaptureFixture::Drain(CDataList& queue) {
    std::vector<std::uint8_t> bytes(queue.GetWaitingBytes());
    std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
    if (length > 0) {
        EXPECT_TRUE(queue.GetData(bytes.data(), &length));
        bytes.resize(length);
    }
    return bytes;
}

std::int64_t FindToneStart(const std::vector<std::uint8_t>& pcm, std::uint64_t maxBuffer) {
    constexpr std::uint64_t kFramesPerBuffer = kCaptureBufferBytes / 4;
    const std::size_t frames = pcm.size() / 4;
    auto sampleAt = [&pcm](std::size_t frame, unsigned channel) {
        const std::size_t at = frame * 4 + channel * 2;
        return static_cast<std::int16_t>(pcm[at] | (pcm[at + 1] << 8));
    };
    for (std::uint64_t buffer = 0; buffer <= maxBuffer; ++buffer) {
        const std::uint64_t first = buffer * kFramesPerBuffer;
        bool matches = true;
        for (std::size_t frame = 0; frame < frames && matches; ++frame) {
            matches = sampleAt(frame, 0) == ToneSource::Sample(first + frame, 0) &&
                      sampleAt(frame, 1) == ToneSource::Sample(first + frame, 1);
        }
        if (matches) {
            return static_cast<std::int64_t>(buffer);
        }
    }
    return -1;
}
