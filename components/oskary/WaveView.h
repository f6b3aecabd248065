#pragma once
// The widget that draws the live waveform over its parent (the display area
// of the main window), following the parent's size. About 30 times a second
// it takes the newest frames from the reader thread and repaints when they
// changed: the left channel as a trace in the upper half, the right channel
// in the lower half, each pixel column spanning the samples that fall on it.
// Along its bottom edge runs the level strip: a bar per channel from -60 to
// 0 dBFS with a tick at the held peak, the peaks in dBFS and the take's clip
// count in figures.

#include "components/oskary/LatestSamples.h"
#include "engine/LevelMeter.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class WaveView : public QWidget {
    Q_OBJECT

public:
    WaveView(QWidget* parent, std::shared_ptr<const LatestSamples> samples,
             std::shared_ptr<const LevelMeter> meter);

    void SetColours(const QColor& background, const QColor& trace);
    // The take's clip count, asked at every refresh, and the word before it.
    void SetClipSource(std::function<std::uint64_t()> clips, const QString& word);
    // The words of the strip as last drawn, e.g. "-6.0 -inf dBFS  clips 3".
    [[nodiscard]] QString StripText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    // Draws one channel's trace centred on `centreY` with `halfHeight`
    // pixels per full scale.
    void DrawChannel(QPainter& painter, bool left, int centreY, int halfHeight) const;
    void DrawStrip(QPainter& painter, const QRect& strip);

    std::shared_ptr<const LatestSamples> m_samples;
    std::shared_ptr<const LevelMeter> m_meter;
    std::function<std::uint64_t()> m_clips;
    QString m_clipsWord;
    LevelReading m_level;
    std::uint64_t m_clipCount = 0;
    QString m_stripText;
    std::vector<StereoFrame> m_frames;
    std::uint64_t m_seenSequence = 0;
    QColor m_background{Qt::black};
    QColor m_trace{Qt::green};
    QTimer m_refresh;
};
