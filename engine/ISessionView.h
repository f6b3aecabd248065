#pragma once
// What a recording session needs of the window that runs it: the user's
// choices, the read-outs, the control states and the record timer. The main
// window implements it with widgets, the command line with a terminal line.
//
// Threads: the session calls the getters and the read-out setters from the
// thread that started or stopped the take, which is the user-interface thread
// or, when the disc fills or a write fails for good, the CD writer thread.
// An implementation must therefore accept every call from any thread and must
// not block waiting for its own user-interface thread while being asked from
// it. Messages do not go through here: the session shows them with
// util::ShowMessageBox, whose host does the same hand-over.

#include <string>

namespace quarnel {
class CDevCmdROM;
}

namespace engine {

class ISessionView {
public:
    virtual ~ISessionView() = default;

    // The user's choices.
    [[nodiscard]] virtual bool IsToFileChecked() = 0;       // option "To file" (1003)
    [[nodiscard]] virtual std::string OutputPathText() = 0; // path edit (1005)
    [[nodiscard]] virtual bool IsCloseDiscChecked() = 0;    // "Close disc" (1015)
    [[nodiscard]] virtual int RecordSourceCount() = 0;      // entries of selector 1002
    // The drive chosen in the drive selector; null when none.
    [[nodiscard]] virtual quarnel::CDevCmdROM* CurrentDevice() = 0;

    // Read-outs: time (1017), length (1031) and the capacity bar (1016).
    virtual void ShowTime(const std::string& text) = 0;
    virtual void ShowLength(const std::string& text) = 0;
    virtual void SetCapacityRange(int low, int high) = 0;
    virtual void SetCapacityPos(int pos) = 0;

    // Switches the controls between the recording and the idle state.
    virtual void SetControlsRecording(bool recording) = 0;

    // Timer 2 of a file take: calls the session's OnRecordTimer every
    // `periodMs` on the user-interface thread until killed.
    virtual void StartRecordTimer(unsigned periodMs) = 0;
    virtual void KillRecordTimer() = 0;

    // Stops any track playback before a take starts.
    virtual void StopPlayback() = 0;

    // Ends the main window (after Exit has closed capture).
    virtual void EndMainDialog() = 0;
};

} // namespace engine
