#include "components/oskary/WaveView.h"

#include <QEvent>
#include <QFont>
#include <QLine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// About 30 frames a second.
constexpr int kRefreshMs = 33;
constexpr int kFullScale = 32768;
// The level strip: its height, the level at its left end, and the room its
// words take at the right.
constexpr int kStripPx = 10;
constexpr double kStripFloorDb = -60.0;
constexpr int kStripTextPx = 150;

// Where `magnitude` falls on a bar `width` pixels long from -60 to 0 dBFS.
int BarLength(std::uint32_t magnitude, int width) {
    if (magnitude == 0) {
        return 0;
    }
    const double dbfs = 20.0 * std::log10(static_cast<double>(magnitude) / kFullScale);
    const double share = std::clamp(1.0 - dbfs / kStripFloorDb, 0.0, 1.0);
    return static_cast<int>(std::lround(share * width));
}

} // namespace

WaveView::WaveView(QWidget* parent, std::shared_ptr<const LatestSamples> samples,
                   std::shared_ptr<const LevelMeter> meter)
    : QWidget(parent), m_samples(std::move(samples)), m_meter(std::move(meter)) {
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

void WaveView::SetClipSource(std::function<std::uint64_t()> clips, const QString& word) {
    m_clips = std::move(clips);
    m_clipsWord = word;
    update();
}

QString WaveView::StripText() const {
    return m_stripText;
}

bool WaveView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return false;
}

void WaveView::Refresh() {
    bool changed = m_samples->CopyIfNewer(m_seenSequence, m_frames);
    const LevelReading level = m_meter->Reading();
    const std::uint64_t clips = m_clips ? m_clips() : 0;
    changed =
        changed || level.peak != m_level.peak || level.held != m_level.held || clips != m_clipCount;
    m_level = level;
    m_clipCount = clips;
    if (changed) {
        update();
    }
}

void WaveView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const int waveHeight = std::max(height() - kStripPx, 0);
    DrawStrip(painter, QRect(0, waveHeight, width(), height() - waveHeight));
    if (m_frames.empty() || width() <= 0) {
        return;
    }
    painter.setPen(m_trace);
    const int half = waveHeight / 2;
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

void WaveView::DrawStrip(QPainter& painter, const QRect& strip) {
    m_stripText = QStringLiteral("%1 %2 dBFS  %3 %4")
                      .arg(QString::fromStdString(FormatDbfs(m_level.peak[0])),
                           QString::fromStdString(FormatDbfs(m_level.peak[1])), m_clipsWord)
                      .arg(m_clipCount);
    const int barsWidth = std::max(strip.width() - kStripTextPx, 0);
    const int barHeight = std::max((strip.height() - 3) / 2, 1);
    for (int channel = 0; channel < 2; ++channel) {
        const auto index = static_cast<std::size_t>(channel);
        const int top = strip.top() + 1 + channel * (barHeight + 1);
        painter.fillRect(1, top, BarLength(m_level.peak[index], barsWidth), barHeight, m_trace);
        const int tick = BarLength(m_level.held[index], barsWidth);
        if (tick > 0) {
            painter.fillRect(tick, top, 1, barHeight, Qt::white);
        }
    }
    QFont font = painter.font();
    font.setPixelSize(std::max(strip.height() - 1, 1));
    painter.setFont(font);
    painter.setPen(m_clipCount > 0 ? QColor(Qt::red) : m_trace);
    painter.drawText(
        QRect(barsWidth + 4, strip.top(), strip.width() - barsWidth - 4, strip.height()),
        Qt::AlignLeft | Qt::AlignVCenter, m_stripText);
}
