#include "disc/TrackPlayer.h"

#include "disc/DiscMessage.h"
#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveOut.h"
#include "util/ThreadName.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace disc {

namespace {

constexpr int kNoOutputKey = 1;
constexpr int kOpenFailedKey = 28;
constexpr int kRingBlocks = 5;
constexpr int kFillWaitMs = 3000;
constexpr int kCloseWaitMs = 500;
// Before another track starts over a running one: the drive settles after the
// reader's last READ CD before it is asked for sectors elsewhere.
constexpr int kRestartWaitMs = 2000;
constexpr auto kPausePoll = std::chrono::milliseconds(50);
constexpr std::uint32_t kSectorBytes = quarnel::CDevCmdROM::kAudioSectorBytes;

std::uint32_t Address(const ITrackRows& rows, int row, int column) {
    return static_cast<std::uint32_t>(std::strtol(rows.Cell(row, column).c_str(), nullptr, 10));
}

} // namespace

TrackPlayer::TrackPlayer(Sleep sleep, OpenOutput openOutput)
    : m_sleep(std::move(sleep)), m_openOutput(std::move(openOutput)) {
    if (!m_sleep) {
        m_sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    }
    if (!m_openOutput) {
        m_openOutput = [](HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format,
                          DWORD_PTR callback, DWORD_PTR instance) {
            return waveOutOpen(handle, deviceId, format, callback, instance, CALLBACK_FUNCTION);
        };
    }
}

TrackPlayer::~TrackPlayer() {
    Stop();
    JoinReader();
}

void TrackPlayer::SetDevice(quarnel::CDevCmdROM* device, ITrackRows* rows) {
    m_device = device;
    m_rows = rows;
}

bool TrackPlayer::Play(PlayMode mode) {
    if (m_current.load(std::memory_order_relaxed) != 0) {
        Stop();
        m_sleep(kRestartWaitMs);
    }
    JoinReader();
    m_stopped.store(false, std::memory_order_release);
    m_start.store(0, std::memory_order_relaxed);
    m_end.store(0, std::memory_order_relaxed);
    m_current.store(0, std::memory_order_relaxed);
    if (m_rows == nullptr || m_device == nullptr || m_rows->RowCount() == 0) {
        return false;
    }
    int row = m_rows->SelectedRow();
    if (row < 0) {
        row = 0;
    } else if (mode == PlayMode::Previous && row > 0) {
        --row;
    } else if (mode == PlayMode::Next && row + 1 < m_rows->RowCount()) {
        ++row;
    }
    m_rows->SelectRow(row);
    if (std::atoi(m_rows->Cell(row, kColumnTrack).c_str()) == 0) {
        return false;
    }
    const std::uint32_t start = Address(*m_rows, row, kColumnStart);
    const std::uint32_t end = Address(*m_rows, row, kColumnEnd);
    m_start.store(start, std::memory_order_relaxed);
    m_end.store(end, std::memory_order_relaxed);
    m_current.store(start, std::memory_order_relaxed);
    m_playPos.store(start, std::memory_order_relaxed);
    m_ring.Init(static_cast<std::int32_t>(kBlockBytes), 1, end - start,
                static_cast<std::int32_t>(kRingBlocks * kBlockBytes));
    return OpenOutputDevice();
}

bool TrackPlayer::OpenOutputDevice() {
    const UINT devices = waveOutGetNumDevs();
    std::optional<UINT> chosen;
    for (UINT id = 0; id < devices && !chosen; ++id) {
        WAVEOUTCAPS caps;
        if (waveOutGetDevCaps(id, &caps, sizeof(caps)) == MMSYSERR_NOERROR &&
            (caps.dwFormats & WAVE_FORMAT_1M08) != 0) {
            chosen = id;
        }
    }
    if (!chosen) {
        ShowDiscMessage(kNoOutputKey);
        return false;
    }
    std::fill(m_playBuffer.begin(), m_playBuffer.end(), '\0');
    m_header = WAVEHDR{};
    m_header.lpData = m_playBuffer.data();
    m_header.dwBufferLength = kBlockBytes;
    m_readerDone.store(false, std::memory_order_release);
    m_reader = std::thread(&TrackPlayer::ReadSectors, this);
    m_sleep(kFillWaitMs); // lets the ring fill
    const WAVEFORMATEX format = platform::wave::CdAudioFormat();
    HWAVEOUT handle = nullptr;
    if (m_openOutput(&handle, *chosen, &format, reinterpret_cast<DWORD_PTR>(&WaveOutDone),
                     reinterpret_cast<DWORD_PTR>(this)) != MMSYSERR_NOERROR) {
        m_ring.Stop();
        Stop();
        JoinReader();
        ShowDiscMessage(kOpenFailedKey);
        return false;
    }
    m_output.store(handle, std::memory_order_release);
    m_playPos.fetch_add(kBlockSectors, std::memory_order_relaxed);
    QueueNext();
    return true;
}

void TrackPlayer::WaveOutDone(HWAVEOUT /*handle*/, UINT message, DWORD_PTR instance,
                              DWORD_PTR /*param1*/, DWORD_PTR /*param2*/) {
    if (message == MM_WOM_DONE) {
        // The instance value is the player itself, handed to the open.
        reinterpret_cast<TrackPlayer*>(instance) // NOLINT(performance-no-int-to-ptr)
            ->QueueNext();
    }
}

void TrackPlayer::QueueNext() {
    if (m_stopped.load(std::memory_order_acquire)) {
        return;
    }
    if (m_playPos.load(std::memory_order_relaxed) >= m_end.load(std::memory_order_relaxed)) {
        m_stopped.store(true, std::memory_order_release);
        return;
    }
    // Waits for a filled block as GetReadGroup would, but ends when the reader
    // has finished without filling one more (after a seek forward): the ring
    // never hands out the block it filled last on its own.
    while (!m_ring.CanRead()) {
        if (m_readerDone.load(std::memory_order_acquire) && !m_ring.CanRead()) {
            m_stopped.store(true, std::memory_order_release);
            return;
        }
        if (m_stopped.load(std::memory_order_acquire)) {
            return;
        }
        std::this_thread::sleep_for(kPausePoll);
    }
    const std::uint8_t* block = m_ring.GetReadGroup();
    const HWAVEOUT output = m_output.load(std::memory_order_acquire);
    if (block == nullptr || output == nullptr) {
        return; // stopped meanwhile
    }
    std::memcpy(m_playBuffer.data(), block, kBlockBytes);
    waveOutPrepareHeader(output, &m_header, sizeof(m_header));
    waveOutWrite(output, &m_header, sizeof(m_header));
    m_playPos.fetch_add(kBlockSectors, std::memory_order_relaxed);
}

void TrackPlayer::ReadSectors() {
    util::NameThisThread("player");
    std::vector<unsigned char> sector(kSectorBytes);
    while (!m_stopped.load(std::memory_order_acquire) &&
           m_current.load(std::memory_order_relaxed) < m_end.load(std::memory_order_relaxed)) {
        if (m_paused.load(std::memory_order_acquire)) {
            std::this_thread::sleep_for(kPausePoll);
            continue;
        }
        std::uint8_t* slot = m_ring.GetWriteSlot(); // null: read, but not kept
        for (std::uint32_t i = 0; i < kBlockSectors && m_current.load(std::memory_order_relaxed) <
                                                           m_end.load(std::memory_order_relaxed);
             ++i) {
            if (m_stopped.load(std::memory_order_acquire)) {
                break;
            }
            const std::uint32_t address = m_current.load(std::memory_order_relaxed);
            if (m_device->ReadCD_All(sector.data(), kSectorBytes, 1, address) == 0 &&
                slot != nullptr) {
                std::memcpy(slot + std::size_t{i} * kSectorBytes, sector.data(), kSectorBytes);
            }
            m_current.fetch_add(1, std::memory_order_relaxed);
        }
    }
    if (m_stopped.load(std::memory_order_acquire)) {
        CloseOutput();
        m_current.store(0, std::memory_order_relaxed);
    }
    m_readerDone.store(true, std::memory_order_release);
}

std::optional<int> TrackPlayer::Tick() {
    const std::uint32_t start = m_start.load(std::memory_order_relaxed);
    const std::uint32_t end = m_end.load(std::memory_order_relaxed);
    // The output's callback sets the stopped flag when it has handed back the
    // block queued last, so that block is heard to its end.
    if (!m_stopped.load(std::memory_order_acquire)) {
        const std::uint32_t current = m_current.load(std::memory_order_relaxed);
        return end > start && current > start
                   ? static_cast<int>(static_cast<double>(current - start) /
                                      static_cast<double>(end - start) * 100.0)
                   : 0;
    }
    m_stopped.store(true, std::memory_order_release);
    CloseOutput();
    m_current.store(0, std::memory_order_relaxed);
    m_ring.Stop();
    return std::nullopt;
}

void TrackPlayer::Stop() {
    m_stopped.store(true, std::memory_order_release);
    m_start.store(0, std::memory_order_relaxed);
    m_end.store(0, std::memory_order_relaxed);
    m_current.store(0, std::memory_order_relaxed);
    m_playPos.store(0, std::memory_order_relaxed);
    m_ring.Stop();
    if (m_output.load(std::memory_order_acquire) != nullptr) {
        m_sleep(kCloseWaitMs);
        CloseOutput();
    }
}

void TrackPlayer::Pause() {
    m_paused.store(true, std::memory_order_release);
    if (const HWAVEOUT output = m_output.load(std::memory_order_acquire); output != nullptr) {
        waveOutPause(output);
    }
}

bool TrackPlayer::PlayButton() {
    if (!m_paused.exchange(false, std::memory_order_acq_rel)) {
        return Play(PlayMode::Selected);
    }
    if (const HWAVEOUT output = m_output.load(std::memory_order_acquire); output != nullptr) {
        waveOutRestart(output);
    }
    return true;
}

bool TrackPlayer::Previous() {
    m_paused.store(false, std::memory_order_release);
    return Play(PlayMode::Previous);
}

bool TrackPlayer::Next() {
    m_paused.store(false, std::memory_order_release);
    return Play(PlayMode::Next);
}

void TrackPlayer::Seek(int percent) {
    Pause();
    const std::uint32_t start = m_start.load(std::memory_order_relaxed);
    const std::uint32_t end = m_end.load(std::memory_order_relaxed);
    const auto span = static_cast<std::uint64_t>(end - start);
    m_current.store(static_cast<std::uint32_t>(span * static_cast<std::uint64_t>(percent) / 100) +
                        start,
                    std::memory_order_relaxed);
    PlayButton();
}

void TrackPlayer::CloseOutput() {
    const HWAVEOUT output = m_output.exchange(nullptr, std::memory_order_acq_rel);
    if (output != nullptr) {
        waveOutReset(output);
        waveOutUnprepareHeader(output, &m_header, sizeof(m_header));
        waveOutClose(output);
    }
}

void TrackPlayer::JoinReader() {
    if (m_reader.joinable()) {
        m_reader.join();
    }
}

} // namespace disc
