#include "components/trindle/KeyWatcher.h"
#include "util/ThreadName.h"

#include <X11/XKBlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace trindle {

namespace {

enum : int { kWaiting = 0, kRecording = 1, kFailed = 2 };

constexpr std::uint32_t kReleaseFlag = 0x80;
constexpr std::uint32_t kAltDownFlag = 0x20;
// How long Start waits for the server to confirm the recording. Only a broken
// server takes that long; Start then reports failure instead of hanging.
constexpr int kConfirmTimeoutMs = 5000;
constexpr int kConfirmPollMs = 1;

// The bit of `vk` in a left/right pair starting at `leftCode`, or 0.
unsigned SideBit(std::uint32_t vk, std::uint32_t leftCode) {
    if (vk == leftCode) {
        return 1u;
    }
    return vk == leftCode + 1 ? 2u : 0u;
}

} // namespace

KeyWatcher::~KeyWatcher() {
    Stop();
}

bool KeyWatcher::Start(TrindleCallback callback) {
    Stop();
    if (callback == nullptr || !OpenConnections()) {
        return false;
    }
    m_callback = callback;
    m_ctrlDown = 0;
    m_altDown = 0;
    m_state.store(kWaiting, std::memory_order_relaxed);
    if (XRecordEnableContextAsync(m_data, m_context, &KeyWatcher::Intercept,
                                  reinterpret_cast<XPointer>(this)) == 0) {
        CloseConnections();
        return false;
    }
    XFlush(m_data);
    m_thread = std::thread([this] {
        util::NameThisThread("hotkey");
        Run();
    });
    // Wait for the server's start-of-data reply: from then on every key counts.
    for (int waitedMs = 0; waitedMs < kConfirmTimeoutMs; waitedMs += kConfirmPollMs) {
        const int state = m_state.load(std::memory_order_acquire);
        if (state == kRecording) {
            return true;
        }
        if (state == kFailed) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kConfirmPollMs));
    }
    Stop();
    return false;
}

void KeyWatcher::Stop() {
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
        m_thread.join();
    }
    CloseConnections();
}

bool KeyWatcher::OpenConnections() {
    m_control = XOpenDisplay(nullptr);
    if (m_control == nullptr) {
        return false;
    }
    int major = 0;
    int minor = 0;
    m_data = XOpenDisplay(nullptr);
    m_layout = XOpenDisplay(nullptr);
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC);
    constexpr unsigned long kLayoutEvents = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    if (m_data == nullptr || m_layout == nullptr || m_wakeFd < 0 ||
        !XRecordQueryVersion(m_control, &major, &minor) ||
        !XkbSelectEvents(m_layout, XkbUseCoreKbd, kLayoutEvents, kLayoutEvents)) {
        CloseConnections();
        return false;
    }
    // Selected before the table is read: a change after the reading is heard.
    XSync(m_layout, False);
    m_keys.Load(m_layout);
    XRecordRange* range = XRecordAllocRange();
    if (range == nullptr) {
        CloseConnections();
        return false;
    }
    range->device_events.first = KeyPress;
    range->device_events.last = KeyRelease;
    XRecordClientSpec clients = XRecordAllClients;
    m_context = XRecordCreateContext(m_control, 0, &clients, 1, &range, 1);
    XFree(range);
    // The context must exist on the server before the data connection enables it.
    XSync(m_control, False);
    if (m_context == 0) {
        CloseConnections();
        return false;
    }
    return true;
}

void KeyWatcher::CloseConnections() {
    if (m_context != 0) {
        XRecordDisableContext(m_control, m_context);
        XRecordFreeContext(m_control, m_context);
        XSync(m_control, False);
        m_context = 0;
    }
    for (Display** display : {&m_data, &m_layout}) {
        if (*display != nullptr) {
            XCloseDisplay(*display);
            *display = nullptr;
        }
    }
    if (m_control != nullptr) {
        XCloseDisplay(m_control);
        m_control = nullptr;
    }
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
        m_wakeFd = -1;
    }
}

void KeyWatcher::Run() {
    pollfd fds[3] = {{ConnectionNumber(m_data), POLLIN, 0},
                     {m_wakeFd, POLLIN, 0},
                     {ConnectionNumber(m_layout), POLLIN, 0}};
    for (;;) {
        // A layout change is taken before the keys recorded after it: the
        // server sent its notice before it recorded them.
        if (TakeLayoutChanges()) {
            m_keys.Load(m_layout);
        }
        XRecordProcessReplies(m_data);
        if (::poll(fds, 3, -1) < 0 && errno != EINTR) {
            break;
        }
        if ((fds[1].revents & POLLIN) != 0 ||
            ((fds[0].revents | fds[2].revents) & (POLLERR | POLLHUP)) != 0) {
            break;
        }
    }
    // A connection that broke before recording began: Start must not wait on.
    int expected = kWaiting;
    m_state.compare_exchange_strong(expected, kFailed, std::memory_order_release);
}

bool KeyWatcher::TakeLayoutChanges() {
    bool changed = false;
    // Only keyboard mapping events reach this connection: the XKB ones
    // selected and the core MappingNotify every client gets.
    while (XPending(m_layout) > 0) {
        XEvent event;
        XNextEvent(m_layout, &event);
        changed = true;
    }
    return changed;
}

void KeyWatcher::Intercept(XPointer self, XRecordInterceptData* data) {
    auto* watcher = reinterpret_cast<KeyWatcher*>(self);
    if (data->category == XRecordStartOfData) {
        watcher->m_state.store(kRecording, std::memory_order_release);
    } else if (data->category == XRecordFromServer && data->data_len * 4 >= 8) {
        watcher->Deliver(data->data);
    }
    XRecordFreeData(data);
}

void KeyWatcher::Deliver(const unsigned char* event) {
    const int type = event[0] & 0x7F;
    if (type != KeyPress && type != KeyRelease) {
        return;
    }
    const bool press = type == KeyPress;
    TrindleKeyRecord record{};
    record.scanCode = event[1];
    record.vkCode = m_keys.At(event[1]);
    std::memcpy(&record.time, event + 4, sizeof record.time);

    const unsigned ctrlBit = SideBit(record.vkCode, 0xA2);
    const unsigned altBit = SideBit(record.vkCode, 0xA4);
    if (press) {
        m_ctrlDown |= ctrlBit;
        m_altDown |= altBit;
    }
    // As on Windows: with an Alt key held and no Ctrl key, keys are "system" keys.
    const bool system = m_altDown != 0 && m_ctrlDown == 0;
    if (!press) {
        m_ctrlDown &= ~ctrlBit;
        m_altDown &= ~altBit;
    }
    record.flags = (press ? 0u : kReleaseFlag) | (system ? kAltDownFlag : 0u);
    const std::uint32_t message = press ? (system ? kTrindleSystemKeyDown : kTrindleKeyDown)
                                        : (system ? kTrindleSystemKeyUp : kTrindleKeyUp);
    m_callback(message, &record);
}

} // namespace trindle
