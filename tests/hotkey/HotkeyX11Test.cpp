// The hotkey library watching a real X server: keys typed through XTEST on a
// connection of their own reach the callback as Windows-style keyboard events,
// and an armed hotkey starts and stops takes. Runs under with-xvfb.sh.
#include "MainApp/hotkey/HotkeyArming.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "components/trindle/Trindle.h"
#include "engine/RecordingState.h"
#include "tests/hotkey/HotkeyTestKit.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace hotkey;

const std::string kLibrary = std::string(SONDREL_PROGRAM_DIR) + "/libtrindle.so";

// Types keys on the display the way a keyboard would.
class Keyboard {
public:
    Keyboard() : m_display(XOpenDisplay(nullptr)) {}
    ~Keyboard() {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    bool Has(KeySym keysym) const {
        return m_display != nullptr && XKeysymToKeycode(m_display, keysym) != 0;
    }
    // What the key carrying `keysym` gives without Shift.
    KeySym PlainSymbol(KeySym keysym) const {
        return XkbKeycodeToKeysym(m_display, XKeysymToKeycode(m_display, keysym), 0, 0);
    }
    void Press(KeySym keysym) { Send(keysym, True); }
    void Release(KeySym keysym) { Send(keysym, False); }
    void Tap(KeySym keysym) {
        Press(keysym);
        Release(keysym);
    }

private:
    void Send(KeySym keysym, Bool down) {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, keysym), down, CurrentTime);
        XSync(m_display, False);
    }

    Display* m_display;
};

// What a plain callback of the library received.
struct Event {
    std::uint32_t message;
    std::uint32_t vk;
    bool operator==(const Event&) const = default;
};
std::mutex g_eventsMutex;
std::condition_variable g_eventsArrived;
std::vector<Event> g_events;

std::uint32_t Collect(std::uint32_t message, const TrindleKeyRecord* record) {
    const std::lock_guard lock(g_eventsMutex);
    g_events.push_back({message, record->vkCode});
    g_eventsArrived.notify_all();
    return 1;
}

// Waits (a broken watch gives up after a generous while) for the release of
// F12, which each test types last, and takes what arrived.
std::vector<Event> TakeEventsUpToF12() {
    std::unique_lock lock(g_eventsMutex);
    g_eventsArrived.wait_for(lock, std::chrono::seconds(20), [] {
        return !g_events.empty() && g_events.back() == Event{kTrindleKeyUp, 0x7B};
    });
    std::vector<Event> taken;
    taken.swap(g_events);
    return taken;
}

class HotkeyX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_keyboard.Has(XK_F5)) {
            GTEST_SKIP() << "no X display with a keyboard";
        }
        g_notRecording.store(true);
    }
    void TearDown() override { DisarmHotkeys(); }

    // Arms with the settings given and returns whether the hotkey is armed.
    bool Arm(platform::DWORD type, platform::DWORD value, platform::DWORD used) {
        EXPECT_TRUE(WriteHotkeySettings(type, value, used));
        return ArmHotkeys(&m_window, m_queue.Poster(), kLibrary);
    }

    testsupport::ScopedRegistryFile m_registry;
    Keyboard m_keyboard;
    hotkeytest::FakeWindow m_window;
    hotkeytest::UiQueue m_queue;
};

TEST_F(HotkeyX11Test, TheLibraryReportsKeysWithWindowsCodesAndSystemKeysWhileAltIsHeld) {
    ASSERT_TRUE(m_keyboard.Has(XK_Alt_R) && m_keyboard.Has(XK_Control_L));
    void* library = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto startKey = reinterpret_cast<StartKeyFunction>(dlsym(library, "StartKey"));
    auto stopKey = reinterpret_cast<StopKeyFunction>(dlsym(library, "StopKey"));
    ASSERT_TRUE(startKey != nullptr && stopKey != nullptr);
    ASSERT_EQ(startKey(&Collect), 1);

    m_keyboard.Tap(XK_F5);
    m_keyboard.Press(XK_Control_L);
    m_keyboard.Tap(XK_r);
    m_keyboard.Release(XK_Control_L);
    m_keyboard.Press(XK_Alt_R);
    m_keyboard.Tap(XK_5);
    m_keyboard.Release(XK_Alt_R);
    m_keyboard.Tap(XK_F12);
    const std::vector<Event> expected = {{256, 0x74}, {257, 0x74}, {256, 0xA2}, {256, 'R'},
                                         {257, 'R'},  {257, 0xA2}, {260, 0xA5}, {260, '5'},
                                         {261, '5'},  {261, 0xA5}, {256, 0x7B}, {257, 0x7B}};
    EXPECT_EQ(TakeEventsUpToF12(), expected);

    // After StopKey nothing arrives; a new StartKey watches again.
    stopKey();
    m_keyboard.Tap(XK_F1);
    ASSERT_EQ(startKey(&Collect), 1);
    m_keyboard.Tap(XK_F12);
    EXPECT_EQ(TakeEventsUpToF12(), (std::vector<Event>{{256, 0x7B}, {257, 0x7B}}));
    stopKey();
    stopKey(); // harmless when idle
    dlclose(library);
}

TEST_F(HotkeyX11Test, F5AloneStartsATakeAndStopsIt) {
    ASSERT_TRUE(Arm(0, 0x74, 1));
    m_keyboard.Tap(XK_F5);
    EXPECT_EQ(m_queue.RunWhenPosted(1), 1);
    EXPECT_EQ(m_window.m_starts, 1);
    g_notRecording.store(false);
    m_keyboard.Tap(XK_F5);
    EXPECT_EQ(m_queue.RunWhenPosted(2), 2);
    EXPECT_EQ(m_window.m_stops, 1);
}

TEST_F(HotkeyX11Test, OnlyLeftCtrlWithRTogglesAndAReleaseInBetweenClearsIt) {
    ASSERT_TRUE(m_keyboard.Has(XK_Control_R));
    ASSERT_TRUE(Arm(1, 'R', 1));
    m_keyboard.Press(XK_Control_R);
    m_keyboard.Tap(XK_r);
    m_keyboard.Release(XK_Control_R);
    m_keyboard.Tap(XK_r);
    m_keyboard.Press(XK_Control_L);
    m_keyboard.Tap(XK_x);
    m_keyboard.Tap(XK_r);
    m_keyboard.Release(XK_Control_L);
    // Events arrive in order: once this combination has toggled, the keys
    // before it have been seen and did nothing.
    m_keyboard.Press(XK_Control_L);
    m_keyboard.Tap(XK_r);
    m_keyboard.Release(XK_Control_L);
    EXPECT_EQ(m_queue.RunWhenPosted(1), 1);
    EXPECT_EQ(m_queue.Posted(), 1);
    EXPECT_EQ(m_window.m_starts, 1);
}

TEST_F(HotkeyX11Test, RightAltWith5TogglesThroughSystemKeysAndLeftAltDoesNot) {
    ASSERT_TRUE(m_keyboard.Has(XK_Alt_R) && m_keyboard.Has(XK_Alt_L));
    ASSERT_TRUE(Arm(4, '5', 1));
    m_keyboard.Press(XK_Alt_L);
    m_keyboard.Tap(XK_5);
    m_keyboard.Release(XK_Alt_L);
    m_keyboard.Press(XK_Alt_R);
    m_keyboard.Tap(XK_5);
    m_keyboard.Release(XK_Alt_R);
    EXPECT_EQ(m_queue.RunWhenPosted(1), 1);
    EXPECT_EQ(m_queue.Posted(), 1);
}

TEST_F(HotkeyX11Test, AHotkeySwitchedOffLoadsTheLibraryButWatchesNothingUntilReArmed) {
    EXPECT_FALSE(Arm(0, 0x74, 0));
    EXPECT_NE(g_hotkeyLibrary, nullptr);
    m_keyboard.Tap(XK_F5);
    ASSERT_TRUE(Arm(0, 0x75, 1)); // now F6
    m_keyboard.Tap(XK_F5);
    m_keyboard.Tap(XK_F6);
    EXPECT_EQ(m_queue.RunWhenPosted(1), 1);
    EXPECT_EQ(m_queue.Posted(), 1);
}

} // namespace

namespace {

// The keyboard layout as a user sets it, for the duration of a test. The
// server keeps it while a client is connected (the test's keyboard is):
// Xvfb resets to its own layout when its last client leaves.
class Layout {
public:
    explicit Layout(const char* name) : m_set(Set(name)) {}
    ~Layout() { Set("us"); }
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;
    [[nodiscard]] bool IsSet() const { return m_set; }

private:
    static bool Set(const char* name) {
        return std::system((std::string("setxkbmap ") + name).c_str()) == 0;
    }
    bool m_set;
};

TEST_F(HotkeyX11Test, CtrlWithADigitTogglesOnALayoutWhoseDigitsAreShifted) {
    const Layout french("fr");
    ASSERT_TRUE(french.IsSet());
    Keyboard typist; // a keyboard that knows the layout
    ASSERT_EQ(typist.PlainSymbol(XK_5), static_cast<KeySym>(XK_parenleft));
    ASSERT_TRUE(Arm(1, '5', 1));
    // The key that carries 5, typed without Shift as the hotkey is meant.
    typist.Press(XK_Control_L);
    typist.Tap(XK_5);
    typist.Release(XK_Control_L);
    EXPECT_EQ(m_queue.RunWhenPosted(1), 1);
    EXPECT_EQ(m_window.m_starts, 1);
}

TEST_F(HotkeyX11Test, TheHotkeyFollowsALayoutChangedWhileItIsArmed) {
    ASSERT_TRUE(Arm(1, 'A', 1));
    const Layout french("fr");
    ASSERT_TRUE(french.IsSet());
    Keyboard typist;
    ASSERT_EQ(typist.PlainSymbol(XK_5), static_cast<KeySym>(XK_parenleft));
    // On this layout A is where Q was when the hotkey was armed.
    typist.Press(XK_Control_L);
    typist.Tap(XK_a);
    typist.Release(XK_Control_L);
    EXPECT_EQ(m_queue.RunWhenPosted(1), 1);
    EXPECT_EQ(m_window.m_starts, 1);
}

} // namespace
