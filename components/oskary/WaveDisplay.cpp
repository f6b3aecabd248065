#include "components/oskary/WaveDisplay.h"

#include "components/oskary/WaveView.h"
#include "engine/BufManaEx.h"
#include "engine/RingPollPause.h"
#include "util/CdAudioSizes.h"

#include <QWidget>

#include <thread>
#include <vector>

namespace {

constexpr std::size_t kDefaultFrames = 2048;

} // namespace

WaveDisplay::WaveDisplay() : m_samples(std::make_shared<LatestSamples>(kDefaultFrames)) {}

WaveDisplay::~WaveDisplay() {
    // The view belongs to its window; it only must not outlive our frames,
    // which it shares.
    delete m_view.data();
}

void WaveDisplay::InitWave(void* window, std::int32_t samplesShown) {
    m_stop.store(false, std::memory_order_release);
    m_samples->Resize(samplesShown > 0 ? static_cast<std::size_t>(samplesShown) : kDefaultFrames);
    delete m_view.data();
    auto* host = static_cast<QWidget*>(window);
    if (host == nullptr) {
        return;
    }
    m_view = new WaveView(host, m_samples);
    m_view->SetColours(m_background, m_trace);
}

void WaveDisplay::ShowWave(BufManaEx* ring) {
    if (ring == nullptr) {
        return;
    }
    // Capture writes whole buffers; the reader takes them one at a time and
    // only once they are complete in the ring, so Read never waits.
    std::vector<std::uint8_t> block(kCaptureBufferBytes);
    const auto blockBytes = static_cast<std::uint32_t>(block.size());
    while (!m_stop.load(std::memory_order_acquire) && !ring->IsStopped()) {
        const std::uint32_t before = ring->GetReadTotal();
        if (ring->GetWriteTotal() - before < blockBytes) {
            std::this_thread::sleep_for(kRingPollPause);
            continue;
        }
        if (!ring->Read(block.data(), blockBytes)) {
            return;
        }
        const std::uint32_t taken = ring->GetReadTotal() - before;
        if (taken == 0) {
            // At the reading limit: nothing more will come.
            std::this_thread::sleep_for(kRingPollPause);
            continue;
        }
        m_samples->Publish(block.data(), taken);
        m_bytesShown.fetch_add(taken, std::memory_order_relaxed);
    }
}

void WaveDisplay::StopShow() {
    m_stop.store(true, std::memory_order_release);
}

void WaveDisplay::SetColours(const QColor& background, const QColor& trace) {
    m_background = background;
    m_trace = trace;
    if (m_view != nullptr) {
        m_view->SetColours(background, trace);
    }
}

std::uint64_t WaveDisplay::BytesShown() const {
    return m_bytesShown.load(std::memory_order_relaxed);
}
