#pragma once
// The play bar (dialog 132): buttons "Pre" (1021), "Play" (1022), "Pause"
// (1023), "Stop" (1024) and "Next" (1025) and the position slider (1026,
// 0..100), inside the main window's placeholder (control 1027) and as large
// as it. The buttons drive the track player; a half-second timer moves the
// slider while a track plays; letting the slider go seeks. Escape and Enter
// do nothing; closing the bar stops playback.

#include "controls/CBmpBtn.h"
#include "controls/SkinnedDialog.h"
#include "disc/TrackPlayer.h"

#include <QSlider>
#include <QTimer>

#include <array>

class CDlgAudioPlay : public SkinnedDialog {
public:
    static constexpr int kTimerPeriodMs = 500;

    // `parent` is the placeholder the bar fills.
    explicit CDlgAudioPlay(QWidget* parent = nullptr);
    ~CDlgAudioPlay() override;
    CDlgAudioPlay(const CDlgAudioPlay&) = delete;
    CDlgAudioPlay& operator=(const CDlgAudioPlay&) = delete;

    // The drive and the track list to play from, after each drive selection.
    void SetDevice(quarnel::CDevCmdROM* device, disc::ITrackRows* rows);
    // Also before a recording starts and when the main window goes.
    void Stop();

    [[nodiscard]] CBmpBtn& Button(int index) {
        return m_buttons.at(static_cast<std::size_t>(index));
    }
    [[nodiscard]] QSlider& Slider() { return m_slider; }
    [[nodiscard]] bool TimerRunning() const { return m_timer.isActive(); }
    [[nodiscard]] disc::TrackPlayer& Player() { return m_player; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Starts timer 1 when playback started.
    void Started(bool started);
    void OnTimer();

    disc::TrackPlayer m_player;
    std::array<CBmpBtn, 5> m_buttons;
    QSlider m_slider;
    QTimer m_timer;
};
