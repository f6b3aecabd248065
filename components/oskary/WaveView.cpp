#include "components/oskary/WaveView.h"

#include <QEvent>
#include <QLine>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// About 30 frames a second.
constexpr int kRefreshMs = 33;
constexpr int kFullScale = 32768;

} // namespace

WaveView::WaveView(QWidget* parent, std::shared_ptr<const LatestSamples> samples)
    : QWidget(parent), m_samples(std::move(samples)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Clicks go to the display area below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(parent->rect());
    parent->installEventFilter(this);
    connect(&m_refresh, &QTimer::timeout, this, &WaveView::Refresh);
    m_refresh.start(kRefreshMs);
    show();
}

void WaveView::SetColours(const QColor& background, const QColor& trace) {
    m_background = background;
    m_trace = trace;
    update();
}

bool WaveView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return false;
}

void WaveView::Refresh() {
    if (m_samples->CopyIfNewer(m_seenSequence, m_frames)) {
        update();
    }
}

void WaveView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (m_frames.empty() || width() <= 0) {
        return;
    }
    painter.setPen(m_trace);
    const int half = height() / 2;
    DrawChannel(painter, true, half / 2, std::max(half / 2 - 1, 0));
    DrawChannel(painter, false, half + half / 2, std::max(half / 2 - 1, 0));
}

void WaveView::DrawChannel(QPainter& painter, bool left, int centreY, int halfHeight) const {
    const std::size_t frames = m_frames.size();
    const auto columns = static_cast<std::size_t>(width());
    std::vector<QLine> lines;
    lines.reserve(columns);
    auto toY = [&](int sample) { return centreY - sample * halfHeight / kFullScale; };
    int previousY = centreY;
    for (std::size_t x = 0; x < columns; ++x) {
        // The frames that fall on this column; at least one.
        const std::size_t first = x * frames / columns;
        const std::size_t end = std::max(first + 1, (x + 1) * frames / columns);
        int low = kFullScale;
        int high = -kFullScale;
        for (std::size_t i = first; i < end && i < frames; ++i) {
            const int sample = left ? m_frames[i].left : m_frames[i].right;
            low = std::min(low, sample);
            high = std::max(high, sample);
        }
        // Joined to the previous column so that the trace has no gaps.
        const int top = std::min(toY(high), previousY);
        const int bottom = std::max(toY(low), previousY);
        const int column = static_cast<int>(x);
        lines.emplace_back(column, top, column, bottom);
        previousY = toY((low + high) / 2);
    }
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}
