#include "tests/platform/wave/WaveTestSupport.h"

#include "platform/wave/PcmFormat.h"
#include "util/WavHeader.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>
#include <utility>

using namespace platform::wave;

namespace wavetest {

namespace {

std::uint32_t u16At(const std::vector<char>& pcm, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(pcm[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(pcm[at + 1])) << 8);
}

template <class Visit> void forEachRun(const std::vector<char>& pcm, Visit visit) {
    const std::size_t frames = pcm.size() / 4;
    RampRun run;
    long previous = -1;
    for (std::size_t frame = 0; frame <= frames; ++frame) {
        const long value = frame < frames ? rampValueAt(pcm, frame) : -1;
        const bool continues = value >= 0 && previous >= 0 && value == ((previous + 1) & 0xFFFF);
        if (!continues) {
            if (run.frames > 0) {
                visit(run);
            }
            run = value >= 0 ? RampRun{frame, 1, value} : RampRun{};
        } else {
            ++run.frames;
        }
        previous = value;
    }
}

} // namespace

std::vector<char> rampFrames(std::uint32_t firstFrame, std::uint32_t frames) {
    std::vector<char> pcm(static_cast<std::size_t>(frames) * 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::uint32_t left = (firstFrame + i) & 0xFFFFu;
        const std::uint32_t right = left ^ 0x5A5Au;
        char* frame = pcm.data() + static_cast<std::size_t>(i) * 4;
        frame[0] = static_cast<char>(left & 0xFFu);
        frame[1] = static_cast<char>(left >> 8);
        frame[2] = static_cast<char>(right & 0xFFu);
        frame[3] = static_cast<char>(right >> 8);
    }
    return pcm;
}

long rampValueAt(const std::vector<char>& pcm, std::size_t frame) {
    const std::uint32_t left = u16At(pcm, frame * 4);
    const std::uint32_t right = u16At(pcm, frame * 4 + 2);
    return right == (left ^ 0x5A5Au) ? static_cast<long>(left) : -1;
}

std::vector<RampRun> rampRuns(const std::vector<char>& pcm, std::size_t minFrames) {
    std::vector<RampRun> runs;
    forEachRun(pcm, [&](const RampRun& run) {
        if (run.frames >= minFrames) {
            runs.push_back(run);
        }
    });
    return runs;
}

void writeWavFile(const std::filesystem::path& path, const WAVEFORMATEX& format,
                  const std::vector<char>& pcm) {
    std::ofstream out(path, std::ios::binary);
    const auto header =
        util::MakeWavHeader(ToWavFormat(format), static_cast<std::uint32_t>(pcm.size()));
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(pcm.data(), static_cast<std::streamsize>(pcm.size()));
}

std::vector<char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CaptureClient::CaptureClient(DWORD bufferBytes) : m_buffer(bufferBytes) {
    m_header.lpData = m_buffer.data();
    m_header.dwBufferLength = bufferBytes;
}

CaptureClient::~CaptureClient() {
    if (m_open) {
        resetAndClose();
    }
}

MMRESULT CaptureClient::open(const WAVEFORMATEX& format) {
    const MMRESULT result = waveInOpen(&m_handle, WAVE_MAPPER, &format,
                                       reinterpret_cast<DWORD_PTR>(&CaptureClient::proc),
                                       reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    m_open = result == MMSYSERR_NOERROR;
    return result;
}

MMRESULT CaptureClient::openSource(std::unique_ptr<CaptureSource> source) {
    const WAVEFORMATEX format = CdAudioFormat();
    const MMRESULT result = waveInOpenSource(&m_handle, std::move(source), &format,
                                             reinterpret_cast<DWORD_PTR>(&CaptureClient::proc),
                                             reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    m_open = result == MMSYSERR_NOERROR;
    return result;
}

MMRESULT CaptureClient::queueAndStart() {
    if (const MMRESULT r = waveInPrepareHeader(m_handle, &m_header, sizeof(WAVEHDR))) {
        return r;
    }
    if (const MMRESULT r = waveInAddBuffer(m_handle, &m_header, sizeof(WAVEHDR))) {
        return r;
    }
    return waveInStart(m_handle);
}

void CaptureClient::stopRequeue() {
    const std::lock_guard lock(m_mutex);
    m_requeue = false;
}

void CaptureClient::holdBuffers() {
    const std::lock_guard lock(m_mutex);
    m_held = true;
}

MMRESULT CaptureClient::requeue() {
    waveInUnprepareHeader(m_handle, &m_header, sizeof(WAVEHDR));
    waveInPrepareHeader(m_handle, &m_header, sizeof(WAVEHDR));
    return waveInAddBuffer(m_handle, &m_header, sizeof(WAVEHDR));
}

void CaptureClient::resetAndClose() {
    stopRequeue();
    waveInReset(m_handle);
    waveInClose(m_handle);
    m_open = false;
}

bool CaptureClient::waitForBuffers(std::size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, kHangLimit, [&] { return m_bufferSizes.size() >= count; });
}

void CaptureClient::onFirstBuffer(std::function<MMRESULT(HWAVEIN)> action) {
    const std::lock_guard lock(m_mutex);
    m_firstAction = std::move(action);
}

std::vector<char> CaptureClient::captured() const {
    const std::lock_guard lock(m_mutex);
    return m_captured;
}

MMRESULT CaptureClient::firstBufferResult() const {
    const std::lock_guard lock(m_mutex);
    return m_firstResult;
}

WaveInStats CaptureClient::stats() const {
    WaveInStats stats;
    waveInGetStats(m_handle, &stats);
    return stats;
}

void CaptureClient::proc(HWAVEIN handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                         DWORD_PTR /*param2*/) {
    reinterpret_cast<CaptureClient*>(instance)->onMessage(handle, message,
                                                          reinterpret_cast<WAVEHDR*>(param1));
}

void CaptureClient::onMessage(HWAVEIN handle, UINT message, WAVEHDR* header) {
    std::unique_lock lock(m_mutex);
    if (message != MM_WIM_DATA) {
        m_changed.notify_all();
        return;
    }
    m_captured.insert(m_captured.end(), header->lpData, header->lpData + header->dwBytesRecorded);
    const DWORD recorded = header->dwBytesRecorded;
    const bool requeue = m_requeue && !m_held;
    auto action = std::exchange(m_firstAction, nullptr);
    lock.unlock();
    if (action) {
        const MMRESULT result = action(handle);
        lock.lock();
        m_firstResult = result;
        lock.unlock();
    }
    if (requeue) {
        std::memset(header->lpData, 0, header->dwBufferLength);
        waveInUnprepareHeader(handle, header, sizeof(WAVEHDR));
        waveInPrepareHeader(handle, header, sizeof(WAVEHDR));
        waveInAddBuffer(handle, header, sizeof(WAVEHDR));
    }
    lock.lock();
    m_bufferSizes.push_back(recorded);
    m_changed.notify_all();
}

PlaybackClient::~PlaybackClient() {
    if (m_open) {
        resetAndClose();
    }
}

MMRESULT PlaybackClient::open(const WAVEFORMATEX& format) {
    const MMRESULT result = waveOutOpen(&m_handle, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(&PlaybackClient::proc),
                                        reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    m_open = result == MMSYSERR_NOERROR;
    return result;
}

MMRESULT PlaybackClient::openSink(std::unique_ptr<PlaybackSink> sink, const WAVEFORMATEX& format) {
    const MMRESULT result = waveOutOpenSink(&m_handle, std::move(sink), &format,
                                            reinterpret_cast<DWORD_PTR>(&PlaybackClient::proc),
                                            reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    m_open = result == MMSYSERR_NOERROR;
    return result;
}

void PlaybackClient::makeBlocks(const std::vector<char>& pcm, std::size_t blockBytes) {
    m_blocks.clear();
    for (std::size_t at = 0; at < pcm.size(); at += blockBytes) {
        const auto end =
            pcm.begin() + static_cast<std::ptrdiff_t>(std::min(pcm.size(), at + blockBytes));
        m_blocks.emplace_back(pcm.begin() + static_cast<std::ptrdiff_t>(at), end);
    }
    m_headers.assign(m_blocks.size(), WAVEHDR{});
}

MMRESULT PlaybackClient::writeBlock(std::size_t index) {
    WAVEHDR& header = m_headers[index];
    header.lpData = m_blocks[index].data();
    header.dwBufferLength = static_cast<DWORD>(m_blocks[index].size());
    header.dwUser = index;
    if (const MMRESULT r = waveOutPrepareHeader(m_handle, &header, sizeof(WAVEHDR))) {
        return r;
    }
    return waveOutWrite(m_handle, &header, sizeof(WAVEHDR));
}

MMRESULT PlaybackClient::playAll(const std::vector<char>& pcm, std::size_t blockBytes) {
    makeBlocks(pcm, blockBytes);
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        if (const MMRESULT r = writeBlock(i)) {
            return r;
        }
    }
    return MMSYSERR_NOERROR;
}

MMRESULT PlaybackClient::playChained(const std::vector<char>& pcm, std::size_t blockBytes) {
    makeBlocks(pcm, blockBytes);
    m_chained = true;
    return writeBlock(0);
}

bool PlaybackClient::waitForDone(std::size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, kHangLimit, [&] { return m_doneOrder.size() >= count; });
}

std::vector<std::size_t> PlaybackClient::doneOrder() const {
    const std::lock_guard lock(m_mutex);
    return m_doneOrder;
}

void PlaybackClient::resetAndClose() {
    m_chained = false;
    waveOutReset(m_handle);
    waveOutClose(m_handle);
    m_open = false;
}

void PlaybackClient::proc(HWAVEOUT handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                          DWORD_PTR /*param2*/) {
    reinterpret_cast<PlaybackClient*>(instance)->onMessage(handle, message,
                                                           reinterpret_cast<WAVEHDR*>(param1));
}

void PlaybackClient::onMessage(HWAVEOUT handle, UINT message, WAVEHDR* header) {
    if (message == MM_WOM_DONE) {
        waveOutUnprepareHeader(handle, header, sizeof(WAVEHDR));
        const std::size_t next = header->dwUser + 1;
        if (m_chained && next < m_blocks.size()) {
            writeBlock(next);
        }
    }
    const std::lock_guard lock(m_mutex);
    if (message == MM_WOM_DONE) {
        m_doneOrder.push_back(header->dwUser);
    }
    m_changed.notify_all();
}

} // namespace wavetest
