#include "tools/cli/PlayCommand.h"

#include "disc/TrackPlayer.h"
#include "disc/TrackRowsTable.h"
#include "platform/wave/BackendChoice.h"
#include "tools/cli/DiscTracks.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/LiveStatus.h"
#include "tools/cli/StopSignals.h"
#include "tools/cli/TrackSelection.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace cli {

namespace {

constexpr auto kTimerPeriod = std::chrono::milliseconds(500);

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli play LETTER [--track N] [--output DEVICE]\n");
    return 2;
}

// The row of track `number`; -1 when the disc has no such audio track.
int RowOfTrack(const disc::TrackRowsTable& rows, int number) {
    for (int row = 0; row < rows.RowCount(); ++row) {
        if (std::atoi(rows.Cell(row, disc::kColumnTrack).c_str()) == number) {
            return row;
        }
    }
    return -1;
}

int RunPlay(std::span<const std::string_view> args) {
    if (args.empty() || args.size() % 2 == 0) {
        return Usage();
    }
    std::string_view track = "1";
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--track") {
            track = args[i + 1];
        } else if (args[i] == "--output" &&
                   platform::wave::BackendChoice::Parse(args[i + 1],
                                                        platform::wave::WaveDirection::Output)) {
            // The option wins over SONDREL_AUDIO_OUTPUT, which the wave
            // service reads; no thread runs yet that could read it meanwhile.
            setenv("SONDREL_AUDIO_OUTPUT", std::string(args[i + 1]).c_str(), // NOLINT
                   1);
        } else {
            return Usage();
        }
    }
    // "01" is track 1, as the track list and CUE sheets write it.
    const std::optional<std::set<int>> number = ParseTrackSelection(track);
    if (!number || number->size() != 1) {
        return Usage();
    }
    const DriveAccess access;
    DiscTracks tracks;
    if (!ReadDiscTracks(access, args[0], tracks)) {
        return 1;
    }
    quarnel::CDevCmdROM* device = tracks.device;
    const char letter = tracks.letter;
    disc::TrackRowsTable& rows = tracks.rows;
    const int row = RowOfTrack(rows, *number->begin());
    if (row < 0) {
        std::fprintf(stderr, "sondrel-cli: %c: no audio track %.*s\n", letter,
                     static_cast<int>(track.size()), track.data());
        return 1;
    }
    rows.SelectRow(row);
    disc::TrackPlayer player;
    player.SetDevice(device, &rows);
    if (!player.Play(disc::PlayMode::Selected)) {
        return 1;
    }
    LiveStatus live(CurrentOutputMode(), stderr);
    const std::string trackText(track);
    const StopSignals signals;
    for (std::optional<int> position = player.Tick(); position; position = player.Tick()) {
        if (signals.Requested()) {
            player.Stop(); // closes the output, so a file gets its true header
            break;
        }
        live.Show(
            StatusReport("playing track " + trackText + "  " + std::to_string(*position) + "%")
                .State("playing")
                .Add("track", trackText)
                .Add("percent", *position));
        std::this_thread::sleep_for(kTimerPeriod);
    }
    live.Result(StatusReport(std::string(1, letter) + ": track " + trackText + " played")
                    .State("played")
                    .Add("track", trackText)
                    .Add("exit_status", 0));
    return 0;
}

} // namespace

const CliCommand kPlayCommand{
    "play", "LETTER [--track N] [--output DEVICE]",
    "plays audio track N (1 when not given) of the disc through the wave output: DEVICE "
    "(alsa:NAME, null, file:PATH.wav) when given, else the configured one; as the play bar "
    "does, the track's last two seconds or less are not played; Ctrl-C or SIGTERM stops it",
    RunPlay};

} // namespace cli
