#include "tools/cli/RepairCommand.h"

#include "engine/WavHeader.h"
#include "engine/session/RunningTake.h"

#include <cstdio>
#include <string>

namespace cli {

namespace {

int RunRepair(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: sondrel-cli repair FILE.wav\n");
        return 2;
    }
    const std::string path(args[0]);
    if (!IsTakeWavFile(path)) {
        std::fprintf(stderr, "sondrel-cli: %s is not a WAV file of a take\n", path.c_str());
        return 1;
    }
    if (!PatchWavSizes(path)) {
        std::fprintf(stderr, "sondrel-cli: cannot write %s\n", path.c_str());
        return 1;
    }
    if (engine::CutOffTakePath() == path) {
        engine::ForgetRunningTake(); // repaired: the window need not offer it again
    }
    std::printf("%s: sizes set from the file's length\n", path.c_str());
    return 0;
}

} // namespace

const CliCommand kRepairCommand{
    "repair", "FILE.wav",
    "sets the sizes in the header of a WAV take that was cut off (killed, power lost) from the "
    "file's length, in place",
    RunRepair};

} // namespace cli
