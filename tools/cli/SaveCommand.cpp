#include "tools/cli/SaveCommand.h"

#include "disc/TrackRowsTable.h"
#include "disc/TrackSaver.h"
#include "tools/cli/DiscTracks.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/LiveStatus.h"
#include "tools/cli/TrackSelection.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace cli {

namespace {

constexpr auto kTickPeriod = std::chrono::milliseconds(100);

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli save LETTER --folder DIR --format wav|mp3 "
                         "[--tracks LIST] [--verify]\n");
    return 2;
}

struct SaveOptions {
    std::string_view letter;
    std::string folder;
    disc::SaveFormat format = disc::SaveFormat::Wav;
    std::optional<std::set<int>> tracks; // all when absent
    bool verify = false;
};

std::optional<SaveOptions> ParseOptions(std::span<const std::string_view> args) {
    SaveOptions options;
    if (!args.empty() && args.back() == "--verify") {
        options.verify = true;
        args = args.first(args.size() - 1);
    }
    if (args.empty() || args.size() % 2 == 0) {
        return std::nullopt;
    }
    options.letter = args[0];
    bool formatGiven = false;
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        const std::string_view value = args[i + 1];
        if (args[i] == "--folder" && !value.empty()) {
            options.folder = value;
        } else if (args[i] == "--format" && (value == "wav" || value == "mp3")) {
            options.format = value == "mp3" ? disc::SaveFormat::Mp3 : disc::SaveFormat::Wav;
            formatGiven = true;
        } else if (args[i] == "--tracks" && (options.tracks = ParseTrackSelection(value))) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (options.folder.empty() || !formatGiven) {
        return std::nullopt;
    }
    return options;
}

std::string Hex32(std::uint32_t value) {
    std::array<char, 12> text{};
    std::snprintf(text.data(), text.size(), "%08x", static_cast<unsigned>(value));
    return text.data();
}

// A saved track's line, and its facts for --json.
StatusReport TrackReport(const disc::TrackSaveOutcome& outcome) {
    using Verify = disc::TrackSaveOutcome::Verify;
    return StatusReport(disc::SavedTrackLine(outcome))
        .Add("track", outcome.number)
        .Add("file", outcome.path)
        .Add("crc32", Hex32(outcome.crc32))
        .Add("accuraterip_v1", Hex32(outcome.accurateRipV1))
        .Add("accuraterip_v2", Hex32(outcome.accurateRipV2))
        .Add("verify", outcome.verify == Verify::Same      ? "same"
                       : outcome.verify == Verify::Differs ? "differs"
                                                           : "not asked");
}

// Unchecks the rows whose tracks are not chosen; the number of rows left checked.
int CheckChosen(disc::TrackRowsTable& rows, const std::optional<std::set<int>>& tracks) {
    int checked = 0;
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int number = std::atoi(rows.Cell(row, disc::kColumnTrack).c_str());
        const bool chosen = !tracks || tracks->contains(number);
        rows.SetChecked(row, chosen);
        checked += chosen ? 1 : 0;
    }
    return checked;
}

int RunSave(std::span<const std::string_view> args) {
    const std::optional<SaveOptions> options = ParseOptions(args);
    if (!options) {
        return Usage();
    }
    const DriveAccess access;
    DiscTracks tracks;
    if (!ReadDiscTracks(access, options->letter, tracks)) {
        return 1;
    }
    quarnel::CDevCmdROM* device = tracks.device;
    const char letter = tracks.letter;
    disc::TrackRowsTable& rows = tracks.rows;
    disc::TrackAddressTable& addresses = tracks.addresses;
    const int wanted = CheckChosen(rows, options->tracks);
    if (wanted == 0) {
        std::fprintf(stderr, "sondrel-cli: %c: no audio track to save\n", letter);
        return 1;
    }
    CAuEncode encoder;
    disc::TrackSaver saver(encoder);
    saver.SetVerify(options->verify);
    saver.Start(device, rows, addresses, options->folder, options->format);
    LiveStatus live(CurrentOutputMode(), stderr);
    for (disc::SaveProgress progress = saver.Tick(); !progress.finished; progress = saver.Tick()) {
        std::array<char, 8> percent{};
        std::snprintf(percent.data(), percent.size(), "%3d%%", progress.percent);
        live.Show(StatusReport(percent.data() + ("  " + progress.currentPath))
                      .State("saving")
                      .Add("percent", progress.percent)
                      .Add("file", progress.currentPath));
        std::this_thread::sleep_for(kTickPeriod);
    }
    saver.Wait();
    // The saver has named the damaged and failed tracks on stderr already.
    const int saved = saver.TracksSaved();
    std::uint64_t unreadable = 0;
    bool differs = false;
    for (const disc::TrackSaveOutcome& outcome : saver.Outcomes()) {
        unreadable += outcome.unreadableSectors;
        differs = differs || outcome.verify == disc::TrackSaveOutcome::Verify::Differs;
        if (outcome.result == disc::TrackSaveOutcome::Result::Saved) {
            live.Result(TrackReport(outcome));
        }
    }
    std::string summary = std::string(1, letter) + ": " + std::to_string(saved) + " of " +
                          std::to_string(wanted) + (wanted == 1 ? " track" : " tracks") + " saved";
    if (unreadable > 0) {
        summary += ", " + std::to_string(unreadable) +
                   (unreadable == 1 ? " sector unreadable" : " sectors unreadable");
    }
    const int status = saved == wanted && unreadable == 0 && !differs ? 0 : 1;
    live.Result(StatusReport(summary)
                    .State("finished")
                    .Add("saved", saved)
                    .Add("tracks", wanted)
                    .Add("unreadable_sectors", static_cast<long long>(unreadable))
                    .Add("exit_status", status));
    return status;
}

} // namespace

const CliCommand kSaveCommand{
    "save", "LETTER --folder DIR --format wav|mp3 [--tracks LIST] [--verify]",
    "saves the disc's audio tracks (all, or those of LIST such as 1,3-5) into DIR, one file "
    "per track named after its CD-Text title (made safe) or Track N, with -a added while the "
    "name is taken; prints each track's CRC32 and AccurateRip v1/v2 and appends them to "
    "sondrel-save.log in DIR; --verify reads each track twice and compares; exit status 1 "
    "when a track failed, has unreadable sectors or read differently",
    RunSave};

} // namespace cli
