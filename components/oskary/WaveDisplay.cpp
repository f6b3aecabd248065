#include "components/oskary/WaveDisplay.h"

#include "components/oskary/WaveView.h"
#include "engine/RingBlocks.h"

#include <QWidget>

#include <utility>

namespace {

constexpr std::size_t kDefaultFrames = 2048;

} // namespace

WaveDisplay::WaveDisplay()
    : m_samples(std::make_shared<LatestSamples>(kDefaultFrames)),
      m_meter(std::make_shared<LevelMeter>()) {}

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
    m_view = new WaveView(host, m_samples, m_meter);
    m_view->SetColours(m_background, m_trace);
    m_view->SetClipSource(m_clips, m_clipsWord);
}

void WaveDisplay::ShowWave(BufManaEx* ring) {
    if (ring == nullptr) {
        return;
    }
    ReadRingBlocks(*ring, m_stop,
                   [this](std::span<const std::uint8_t> pcm, std::uint64_t position) {
                       m_samples->Publish(pcm.data(), pcm.size());
                       m_meter->Add(pcm, position);
                       m_bytesShown.fetch_add(pcm.size(), std::memory_order_relaxed);
                   });
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

void WaveDisplay::SetClipSource(std::function<std::uint64_t()> clips, const QString& word) {
    m_clips = std::move(clips);
    m_clipsWord = word;
    if (m_view != nullptr) {
        m_view->SetClipSource(m_clips, m_clipsWord);
    }
}

std::uint64_t WaveDisplay::BytesShown() const {
    return m_bytesShown.load(std::memory_order_relaxed);
}
