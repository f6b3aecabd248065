#include "tools/cli/EraseCommand.h"

#include "disc/DiscEraser.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/LiveStatus.h"
#include "util/MessageBox.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace cli {

namespace {

constexpr auto kTimerPeriod = std::chrono::seconds(1);

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli erase LETTER [--yes]\n");
    return 2;
}

// With --yes the confirmation is answered OK; every other message goes on to
// the terminal's host.
class ConfirmingHost final : public util::IMessageBoxHost {
public:
    explicit ConfirmingHost(util::IMessageBoxHost* next) : m_next(next) {}
    int Show(const std::string& text, unsigned style) override {
        if ((style & 0x0FU) == util::MB_OKCANCEL) {
            return util::IDOK;
        }
        return m_next != nullptr ? m_next->Show(text, style) : util::IDOK;
    }

private:
    util::IMessageBoxHost* m_next = nullptr;
};

int RunErase(std::span<const std::string_view> args) {
    if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "--yes")) {
        return Usage();
    }
    const DriveAccess access;
    quarnel::CDevCmdROM* device = access.DriveOf(args[0]);
    if (device == nullptr) {
        return 1;
    }
    util::IMessageBoxHost* terminal = util::SetMessageBoxHost(nullptr);
    ConfirmingHost confirming(terminal);
    util::SetMessageBoxHost(args.size() == 2 ? &confirming : terminal);
    disc::DiscEraser eraser;
    const bool started = eraser.Begin(device);
    util::SetMessageBoxHost(terminal);
    if (!started) {
        return 1;
    }
    LiveStatus live(CurrentOutputMode(), stderr);
    disc::EraseTick tick;
    while (!(tick = eraser.Tick(tick.position)).finished) {
        live.Show(StatusReport("Erasing...... " + std::to_string(tick.position) + "%")
                      .State("erasing")
                      .Add("percent", tick.position));
        std::this_thread::sleep_for(kTimerPeriod);
    }
    const std::string drive(1, static_cast<char>('A' + device->GetDeviceID()));
    live.Result(StatusReport(drive + (tick.erased ? ": disc erased, tray open"
                                                  : ": disc not erased, tray open"))
                    .State(tick.erased ? "erased" : "not erased")
                    .Add("exit_status", tick.erased ? 0 : 1));
    return tick.erased ? 0 : 1;
}

} // namespace

const CliCommand kEraseCommand{
    "erase", "LETTER [--yes]",
    "erases the rewritable disc in the drive (blanks a CD-RW or DVD-RW, formats a DVD+RW, "
    "overwrites the start of a DVD+RW or DVD-RAM with zeros) and opens the tray; --yes "
    "answers the confirmation",
    RunErase};

} // namespace cli
