#pragma once
// Watches every key press and release on the X display through the RECORD
// extension and hands each one, as a Windows-style keyboard event, to a
// callback on a thread of its own.
//
// Three connections: the control connection creates, disables and frees the
// recording context and is used only by the caller of Start and Stop; the data
// connection receives the recorded events and the layout connection hears of
// keyboard layout changes (setxkbmap, say); between Start and Stop both are
// used only by the watching thread (thread start and join order the
// hand-overs). The key table follows each layout change.

#include "components/trindle/Trindle.h"
#include "components/trindle/VirtualKeyMap.h"

#include <X11/Xlib.h>
#include <X11/extensions/record.h>

#include <atomic>
#include <thread>

namespace trindle {

class KeyWatcher {
public:
    KeyWatcher() = default;
    ~KeyWatcher();
    KeyWatcher(const KeyWatcher&) = delete;
    KeyWatcher& operator=(const KeyWatcher&) = delete;

    // Stops an earlier watch, then starts one for `callback`. Returns once the
    // server records (so no key pressed after the return is missed), or false
    // when there is no display, no RECORD extension or recording fails.
    bool Start(TrindleCallback callback);
    // Ends the watch; when it returns the callback runs no more. The callback
    // itself must not call it.
    void Stop();

private:
    bool OpenConnections();
    void CloseConnections();
    void Run();
    // Takes the layout connection's events; true when there were any.
    bool TakeLayoutChanges();
    static void Intercept(XPointer self, XRecordInterceptData* data);
    void Deliver(const unsigned char* event);

    Display* m_control = nullptr;
    Display* m_data = nullptr;
    Display* m_layout = nullptr;
    XRecordContext m_context = 0;
    int m_wakeFd = -1; // an eventfd that tells the thread to end
    std::thread m_thread;

    // Set before the thread starts; used by it alone after that.
    TrindleCallback m_callback = nullptr;
    VirtualKeyMap m_keys;
    // Written by the thread, read by Start after the thread has set it (release/acquire).
    std::atomic<int> m_state{0}; // kWaiting, kRecording or kFailed
    // Held modifiers as the thread has seen them: bit 0 left, bit 1 right.
    unsigned m_ctrlDown = 0;
    unsigned m_altDown = 0;
};

} // namespace trindle
