#pragma once
// The session view of a take on the command line: the choices come from the
// arguments, the read-outs make one line on the terminal that is rewritten in
// place ("\r"), and the record timer is run by the command's main loop.
// Read-outs may come from the writer thread; the line is guarded.

#include "components/quarnel/device/CDevCmdROM.h"
#include "engine/ISessionView.h"
#include "engine/LevelMeter.h"

#include <atomic>
#include <cstdio>
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
    TerminalSessionView(TakeChoices choices, std::FILE* out);

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

private:
    void Redraw(); // with m_mutex held

    TakeChoices m_choices;
    std::FILE* m_out = nullptr;
    std::mutex m_mutex;
    std::string m_time;
    std::string m_length;
    int m_capacityPercent = -1;
    std::string m_level;
    std::string m_lastLine;
    std::atomic<unsigned> m_timerMs{0};
};

} // namespace cli
