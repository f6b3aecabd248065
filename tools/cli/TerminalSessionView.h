#pragma once
// The session view of a take on the command line: the choices come from the
// arguments, the read-outs are kept and shown by the command's main loop
// through the live status (a line redrawn in place on a terminal, plain lines
// into a log, JSON), and the record timer is run by that loop too.
// Read-outs may come from the writer thread; they are guarded.

#include "components/quarnel/device/CDevCmdROM.h"
#include "engine/ISessionView.h"
#include "engine/LevelMeter.h"
#include "tools/cli/LiveStatus.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace cli {

struct TakeChoices {
    bool toFile = false;
    std::string path;
    bool closeDisc = false;
    quarnel::CDevCmdROM* device = nullptr;
};

class TerminalSessionView final : public engine::ISessionView {
public:
    TerminalSessionView(TakeChoices choices, LiveStatus& status);

    bool IsToFileChecked() override { return m_choices.toFile; }
    std::string OutputPathText() override { return m_choices.path; }
    bool IsCloseDiscChecked() override { return m_choices.closeDisc; }
    int RecordSourceCount() override { return 1; }
    quarnel::CDevCmdROM* CurrentDevice() override { return m_choices.device; }

    void ShowTime(const std::string& text) override;
    void ShowLength(const std::string& text) override;
    void SetCapacityRange(int low, int high) override;
    void SetCapacityPos(int pos) override;
    void SetControlsRecording(bool recording) override;
    void StartRecordTimer(unsigned periodMs) override;
    void KillRecordTimer() override;
    void StopPlayback() override {}
    void EndMainDialog() override {}

    // The meter's held peaks and the take's clip count, at the line's end.
    void ShowLevel(const LevelReading& level, std::uint64_t clips);

    // The record timer's period; 0 while it is not running.
    [[nodiscard]] unsigned RecordTimerMs() const;

    // Shows the read-outs as they are now.
    void Publish();
    // The take's last read-outs as the command's result, with its exit status
    // and the exact count of clipped samples.
    void Finish(int exitStatus, std::uint64_t clippedSamples);

private:
    // With m_mutex held; `lastLine` ends the text a person reads.
    [[nodiscard]] StatusReport Report(const std::string& lastLine = {}) const;

    TakeChoices m_choices;
    LiveStatus& m_status;
    const std::string m_noSoundText; // shown in the time read-out while no sound arrives
    mutable std::mutex m_mutex;
    std::string m_time;     // as shown: the time, or that no sound arrives
    std::string m_lastTime; // the last time shown
    std::string m_length;
    int m_capacityPercent = -1;
    bool m_recording = false;
    std::string m_level;    // the meter's part of the line
    std::string m_peaks[2]; // the held peaks in dBFS, left and right
    std::uint64_t m_clips = 0;
    std::atomic<unsigned> m_timerMs{0};
};

} // namespace cli
