#pragma once
// The widget that draws the live waveform over its parent (the display area
// of the main window), following the parent's size. About 30 times a second
// it takes the newest frames from the reader thread and repaints when they
// changed: the left channel as a trace in the upper half, the right channel
// in the lower half, each pixel column spanning the samples that fall on it.

#include "components/oskary/LatestSamples.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class WaveView : public QWidget {
    Q_OBJECT

public:
    WaveView(QWidget* parent, std::shared_ptr<const LatestSamples> samples);

    void SetColours(const QColor& background, const QColor& trace);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    // Draws one channel's trace centred on `centreY` with `halfHeight`
    // pixels per full scale.
    void DrawChannel(QPainter& painter, bool left, int centreY, int halfHeight) const;

    std::shared_ptr<const LatestSamples> m_samples;
    std::vector<StereoFrame> m_frames;
    std::uint64_t m_seenSequence = 0;
    QColor m_background{Qt::black};
    QColor m_trace{Qt::green};
    QTimer m_refresh;
};
