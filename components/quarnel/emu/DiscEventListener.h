#pragma once
// Told when a disc arrives in or leaves an emulated drive: by START STOP UNIT
// (eject, load), and by loading, changing or taking out the disc through the
// drive's own interface. Called on the thread that caused the change, after
// the drive has finished the command, so a listener may send commands itself.

#include <string>

namespace quarnel::emu {

enum class DiscEventKind : unsigned char { Arrived, Removed };

struct DiscEvent {
    DiscEventKind kind = DiscEventKind::Arrived;
    std::string drive; // the drive's name (its folder)
};

class DiscEventListener {
public:
    DiscEventListener() = default;
    DiscEventListener(const DiscEventListener&) = delete;
    DiscEventListener& operator=(const DiscEventListener&) = delete;
    virtual ~DiscEventListener() = default;

    virtual void OnDiscEvent(const DiscEvent& event) = 0;
};

} // namespace quarnel::emu
