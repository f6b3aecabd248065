#include "tools/cli/RecordCommand.h"

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/session/PreRecordSetting.h"
#include "engine/session/RecordSession.h"
#include "engine/session/SessionMessages.h"
#include "engine/session/SplitSettings.h"
#include "engine/session/TakeSchedule.h"
#include "lang/LangText.h"
#include "platform/wave/BackendChoice.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/LiveStatus.h"
#include "tools/cli/MeterDisplay.h"
#include "tools/cli/ScheduledStart.h"
#include "tools/cli/StopSignals.h"
#include "tools/cli/TakeMessageHost.h"
#include "tools/cli/TerminalSessionView.h"
#include "util/MessageBox.h"
#include "util/TerminalMessageBox.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace cli {

namespace {

constexpr std::uint32_t kRingBytes = 16 * kCaptureBufferBytes;
constexpr auto kLoopPause = std::chrono::milliseconds(50);
// About 68 years: the sound limit in bytes stays far inside 64 bits.
constexpr long kMaxTakeSeconds = 0x7FFFFFFF;

struct RecordArgs {
    std::string to;
    std::string drive;
    std::string path;
    std::string input;
    bool closeDisc = false;
    bool yes = false;
    long seconds = 0;    // 0: until Ctrl-C or SIGTERM
    long preRecord = -1; // -1: as SoftSet.ini says
    engine::SplitSettings split = engine::SplitSettingsFromSoftSet();
    engine::TakeSchedule schedule;
};

constexpr std::string_view kSplitOption = "--split-on-silence";

// A whole number from `low` to `high`; -1 when the text is none.
long ParseCount(const std::string& value, long low, long high) {
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    return end == value.c_str() || *end != '\0' || number < low || number > high ? -1 : number;
}

// --for, --at and --start-on-sound; false for another option or a bad value.
bool ParseScheduleOption(std::string_view arg, std::string_view value, RecordArgs& parsed) {
    if (arg == "--for") {
        const std::optional<std::uint32_t> seconds = engine::ParseDurationSeconds(value);
        parsed.seconds = seconds ? static_cast<long>(*seconds) : 0;
        return seconds.has_value();
    }
    if (arg == "--at") {
        parsed.schedule.startAt = engine::NextClockTime(value, engine::WallClock::now());
        return parsed.schedule.startAt.has_value();
    }
    if (arg == "--start-on-sound") {
        parsed.schedule.startOnSoundDb = engine::ParseSoundDb(value);
        return parsed.schedule.startOnSoundDb.has_value();
    }
    return false;
}

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli record --to cd --drive LETTER [--close-disc] | "
                         "--to file --path FILE.wav|FILE.mp3  [--seconds N] [--pre-record N] "
                         "[--for DURATION] [--at HH:MM[:SS]] [--start-on-sound DB] "
                         "[--input tone|marked|file:PATH|alsa:DEVICE] [--yes] "
                         "[--split-on-silence[=DB,SECONDS,MINTRACK]]\n");
    return 2;
}

std::optional<RecordArgs> ParseArgs(std::span<const std::string_view> args) {
    RecordArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--close-disc") {
            parsed.closeDisc = true;
        } else if (arg == "--yes") {
            parsed.yes = true;
        } else if (arg.starts_with(kSplitOption)) {
            // --split-on-silence, or --split-on-silence=DB,SECONDS,MINTRACK
            const std::string_view values = arg.substr(kSplitOption.size());
            if (!values.empty() && !values.starts_with('=')) {
                return std::nullopt;
            }
            const auto split = engine::SplitSettingsOverride(
                std::string(values.empty() ? values : values.substr(1)), parsed.split);
            if (!split) {
                return std::nullopt;
            }
            parsed.split = *split;
        } else if (hasValue && (arg == "--to" || arg == "--drive" || arg == "--path" ||
                                arg == "--input" || arg == "--seconds" || arg == "--pre-record")) {
            const std::string value(args[++i]);
            if (arg == "--to") {
                parsed.to = value;
            } else if (arg == "--drive") {
                parsed.drive = value;
            } else if (arg == "--path") {
                parsed.path = value;
            } else if (arg == "--input") {
                parsed.input = value;
            } else if (arg == "--seconds") {
                parsed.seconds = ParseCount(value, 1, kMaxTakeSeconds);
                if (parsed.seconds < 0) {
                    return std::nullopt;
                }
            } else {
                parsed.preRecord = ParseCount(value, 0, kMaxPreRecordSeconds);
                if (parsed.preRecord < 0) {
                    return std::nullopt;
                }
            }
        } else if (hasValue && ParseScheduleOption(arg, args[i + 1], parsed)) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    const bool toCd = parsed.to == "cd" && !parsed.drive.empty() && parsed.path.empty();
    const bool toFile = parsed.to == "file" && parsed.drive.empty() && !parsed.closeDisc;
    if (!toCd && !toFile) {
        return std::nullopt;
    }
    return parsed;
}

// Runs the take until it ends by itself, its sound limit is captured or a
// signal asks to stop; the record timer of a file take is run here, on this
// thread.
void RunTake(engine::RecordSession& session, TerminalSessionView& view, const LevelMeter& meter,
             const StopSignals& signals, long seconds) {
    const std::uint64_t limitBytes = static_cast<std::uint64_t>(seconds) * kPcmBytesPerSecond;
    // The first tick comes one period after the start, as a window's timer.
    auto nextTick =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(view.RecordTimerMs());
    while (session.IsRecording()) {
        const auto now = std::chrono::steady_clock::now();
        if (signals.Requested() || (seconds > 0 && session.CapturedBytes() >= limitBytes)) {
            session.StopRecording(); // returns at once if the writer already stops it
            break;
        }
        const unsigned timerMs = view.RecordTimerMs();
        if (timerMs == 0) {
            nextTick = now + std::chrono::milliseconds(1000);
        } else if (now >= nextTick) {
            session.OnRecordTimer();
            nextTick += std::chrono::milliseconds(timerMs);
        }
        view.ShowLevel(meter.Reading(), session.ClippedSamples());
        view.Publish();
        std::this_thread::sleep_for(kLoopPause);
    }
    while (session.IsRecording()) { // the writer thread finishing the take itself
        std::this_thread::sleep_for(kLoopPause);
    }
}

// Capture opens just before the take here (the window keeps it running from
// its start), and a sound server's stream may take a second or two to
// deliver: the take waits for the first buffer, so that this start-up is not
// counted as a gap. An input that delivers nothing is found out by the take.
void WaitForFirstSound() {
    constexpr auto kLongestWait = std::chrono::seconds(5);
    const auto limit = std::chrono::steady_clock::now() + kLongestWait;
    while (g_waveRing.GetWriteTotal() == 0 && g_waveRing.GetDroppedBytes() == 0 &&
           std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(kLoopPause);
    }
}

int RunRecord(std::span<const std::string_view> args) {
    const std::optional<RecordArgs> parsed = ParseArgs(args);
    if (!parsed) {
        return Usage();
    }
    if (!parsed->input.empty()) {
        if (!platform::wave::BackendChoice::Parse(parsed->input,
                                                  platform::wave::WaveDirection::Input)) {
            std::fprintf(stderr, "sondrel-cli: not an input: %s\n", parsed->input.c_str());
            return 2;
        }
        // The wave service reads its input from the environment; no other
        // thread runs yet.
        setenv("SONDREL_AUDIO_INPUT", parsed->input.c_str(), 1); // NOLINT(concurrency-mt-unsafe)
    }
    std::optional<DriveAccess> access;
    TakeChoices choices;
    choices.toFile = parsed->to == "file";
    choices.path = parsed->path;
    choices.closeDisc = parsed->closeDisc;
    if (!choices.toFile) {
        access.emplace();
        choices.device = access->DriveOf(parsed->drive);
        if (choices.device == nullptr) {
            return 1;
        }
    }
    util::TerminalMessageBox terminal(stdin, stderr);
    TakeMessageHost messages(terminal, parsed->yes);
    util::IMessageBoxHost* const before = util::SetMessageBoxHost(&messages);
    LiveStatus liveStatus(CurrentOutputMode(), stdout);
    TerminalSessionView view(choices, liveStatus);
    MeterDisplay display;
    g_waveRing.Init(kRingBytes, 0xFFFFFFFFu);
    OpenCapture(true, display);
    int status = 1;
    if (g_hWaveIn != nullptr) {
        WaitForFirstSound();
        engine::RecordSession session(view);
        session.SetSoundLimitSeconds(static_cast<unsigned>(parsed->seconds));
        session.SetSplit(parsed->split);
        session.SetPreRecordSeconds(parsed->preRecord >= 0
                                        ? static_cast<unsigned>(parsed->preRecord)
                                        : engine::PreRecordSecondsSetting());
        // Ctrl-C ends a take that waits to start; one that starts at once
        // asks its question (an existing file) with Ctrl-C ending the program.
        std::optional<StopSignals> signals;
        if (!parsed->schedule.Waits()) {
            session.StartRecording();
        } else if (const std::optional<std::uint64_t> startByte = WaitForScheduledStart(
                       parsed->schedule, display.Meter(), signals.emplace(), liveStatus)) {
            session.StartRecordingFrom(*startByte);
        } else {
            std::fprintf(stderr, "sondrel-cli: stopped before the take started\n");
        }
        if (session.IsRecording()) {
            if (!signals) {
                signals.emplace();
            }
            RunTake(session, view, display.Meter(), *signals, parsed->seconds);
            const bool lostSound =
                messages.WasShown(lang::GetLangString("Message", engine::kMsgWriteFailed)) ||
                messages.WasShown(lang::GetLangString("Message", engine::kMsgCloseFailed)) ||
                messages.WasShown(lang::GetLangString("Message", engine::kMsgDriveTooSlow));
            const std::uint32_t gapSeconds = session.GapSeconds();
            if (gapSeconds > 0) {
                std::fprintf(stderr, "%s: the take lacks about %u s of sound\n",
                             lang::GetLangString("Message", engine::kMsgNoSound).c_str(),
                             gapSeconds);
            }
            status = lostSound || gapSeconds > 0 ? 1 : 0;
            view.Finish(status, session.ClippedSamples());
        }
    }
    if (g_hWaveIn != nullptr) {
        CloseCapture();
    }
    util::SetMessageBoxHost(before);
    return status;
}

} // namespace

const CliCommand kRecordCommand{
    "record",
    "--to cd --drive LETTER [--close-disc] | --to file --path FILE.wav|FILE.mp3 "
    "[--seconds N | --for DURATION] [--at HH:MM[:SS]] [--start-on-sound DB] [--pre-record N] "
    "[--input tone|marked|file:PATH|alsa:DEVICE] [--yes] "
    "[--split-on-silence[=DB,SECONDS,MINTRACK]]",
    "records one take onto the disc in a drive (one track) or into a WAV or MP3 file, N "
    "seconds of sound (or DURATION: 90s, 45m, 1h30m, 01:30:00) or until Ctrl-C; --at starts "
    "it at the next such time of day, --start-on-sound when the level passes DB dBFS (-90 to "
    "0); --pre-record N (0 to 10) begins it with the N seconds heard before; --yes overwrites "
    "an existing file without asking; --split-on-silence starts the next track (or file "
    "NAME-02, -03, ...) after a silence, as SoftSet.ini's [Record] Split... settings or the "
    "values given say",
    RunRecord};

} // namespace cli
