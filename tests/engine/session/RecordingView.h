#pragma once
// A session view for tests: choices set by the test, the last read-outs and
// control state kept for checks. Safe from any thread.

#include "engine/ISessionView.h"

#include <atomic>
#include <mutex>
#include <string>

class RecordingView final : public engine::ISessionView {
public:
    bool IsToFileChecked() override { return m_toFile.load(); }
    std::string OutputPathText() override;
    bool IsCloseDiscChecked() override { return m_closeDisc.load(); }
    int RecordSourceCount() override { return m_sources.load(); }
    quarnel::CDevCmdROM* CurrentDevice() override { return m_device.load(); }

    void ShowTime(const std::string& text) override;
    void ShowLength(const std::string& text) override;
    void SetCapacityRange(int /*low*/, int /*high*/) override {}
    void SetCapacityPos(int pos) override { m_capacityPos.store(pos); }
    void SetControlsRecording(bool recording) override { m_controlsRecording.store(recording); }
    void StartRecordTimer(unsigned periodMs) override { m_timerMs.store(periodMs); }
    void KillRecordTimer() override { m_timerMs.store(0); }
    void StopPlayback() override {}
    void EndMainDialog() override { m_ended.store(true); }

    void SetPath(const std::string& path);
    [[nodiscard]] std::string Time();
    [[nodiscard]] std::string Length();

    std::atomic<bool> m_toFile{false};
    std::atomic<bool> m_closeDisc{false};
    std::atomic<int> m_sources{1};
    std::atomic<quarnel::CDevCmdROM*> m_device{nullptr};
    std::atomic<int> m_capacityPos{-1};
    std::atomic<bool> m_controlsRecording{false};
    std::atomic<unsigned> m_timerMs{0};
    std::atomic<bool> m_ended{false};

private:
    std::mutex m_mutex;
    std::string m_path;
    std::string m_time;
    std::string m_length;
};
