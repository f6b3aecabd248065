#pragma once
// The live waveform display. InitWave (GUI thread) puts a WaveView over the
// given window; ShowWave runs on the display thread that capture starts and
// reads the waveform ring block by block, keeping the newest frames for the
// view; StopShow (any thread) makes ShowWave return within one poll pause.
//
// The reader never makes capture wait: it takes only blocks that are already
// in the ring, and when it falls behind the ring drops blocks for the display
// alone. Past the ring's reading limit nothing more arrives and the picture
// stays as it was until StopShow.
//
// The reader also feeds a level meter with every block it takes; the view
// shows it in a strip along the bottom of the display area, beside the clip
// count of the take, which the window hands it (SetClipSource).

#include "components/oskary/LatestSamples.h"
#include "engine/IWaveDisplay.h"
#include "engine/LevelMeter.h"

#include <QColor>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class WaveView;

class WaveDisplay final : public IWaveDisplay {
public:
    WaveDisplay();
    ~WaveDisplay() override;
    WaveDisplay(const WaveDisplay&) = delete;
    WaveDisplay& operator=(const WaveDisplay&) = delete;

    // `window` is the QWidget to draw over (nothing is drawn when null);
    // `samplesShown` frames make up the picture (2048 when not positive).
    // Clears an earlier StopShow.
    void InitWave(void* window, std::int32_t samplesShown) override;
    void ShowWave(BufManaEx* ring) override;
    void StopShow() override;

    // GUI thread; applies now and to a later InitWave.
    void SetColours(const QColor& background, const QColor& trace);

    // GUI thread: the clip count the strip shows, asked at every redraw, and
    // the word before it; applies now and to a later InitWave.
    void SetClipSource(std::function<std::uint64_t()> clips, const QString& word);
    // The meter the reader feeds (any thread may read it or arm its trigger).
    [[nodiscard]] LevelMeter& Meter() { return *m_meter; }

    // Bytes taken from the ring so far.
    [[nodiscard]] std::uint64_t BytesShown() const;

private:
    std::shared_ptr<LatestSamples> m_samples;
    std::shared_ptr<LevelMeter> m_meter;
    std::function<std::uint64_t()> m_clips;
    QString m_clipsWord{QStringLiteral("clips")};
    QPointer<WaveView> m_view;
    QColor m_background{Qt::black};
    QColor m_trace{0, 230, 0};
    // Release by StopShow, acquire by the reader: a plain request to end.
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint64_t> m_bytesShown{0};
};
