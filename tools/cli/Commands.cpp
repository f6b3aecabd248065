#include "tools/cli/CheckCommand.h"
#include "tools/cli/CliCommand.h"
#include "tools/cli/DemoCommand.h"
#include "tools/cli/DiscCommand.h"
#include "tools/cli/DriveCommand.h"
#include "tools/cli/DrivesCommand.h"
#include "tools/cli/EraseCommand.h"
#include "tools/cli/HotkeyCommand.h"
#include "tools/cli/PlayCommand.h"
#include "tools/cli/RecordCommand.h"
#include "tools/cli/RepairCommand.h"
#include "tools/cli/SaveCommand.h"
#include "tools/cli/TextCommand.h"
#include "tools/cli/TocCommand.h"
#include "tools/cli/UpdateCommand.h"

#include <array>

namespace cli {

namespace {

// `command` marked as one with a live status, which takes --quiet and --json.
CliCommand WithLiveOutput(CliCommand command) {
    command.liveOutput = true;
    return command;
}

} // namespace

std::span<const CliCommand> AllCommands() {
    static const std::array kCommands{kDemoCommand,
                                      kTextCommand,
                                      kDrivesCommand,
                                      kDriveCommand,
                                      kDiscCommand,
                                      kTocCommand,
                                      WithLiveOutput(kRecordCommand),
                                      kRepairCommand,
                                      WithLiveOutput(kSaveCommand),
                                      WithLiveOutput(kEraseCommand),
                                      kCheckCommand,
                                      WithLiveOutput(kPlayCommand),
                                      kHotkeyCommand,
                                      kUpdateCommand,
                                      kDownloadCommand};
    return kCommands;
}

} // namespace cli
