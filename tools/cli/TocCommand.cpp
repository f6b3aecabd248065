#include "tools/cli/TocCommand.h"

#include "MainApp/lang/LangText.h"
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/mmc/Msf.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/StatusText.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace cli {

namespace {

constexpr long kTocBytes = 2048;
constexpr int kDataTrackBit = 0x04;
constexpr int kUntitledText = 26; // "Track " in the UIText section

struct AudioTrack {
    int number = 0;
    std::uint32_t start = 0;
    std::uint32_t end = 0; // last sector
};

std::uint32_t StartOf(const quarnel::TocData::_Data& data) {
    return quarnel::MsfToLba({data.pmin, data.psec, data.pframe});
}

// Minutes (not limited to 59), seconds and frames of a sector count.
std::string LengthText(std::int64_t sectors) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02lld:%02lld:%02lld",
                  static_cast<long long>(sectors / 4500), static_cast<long long>(sectors / 75 % 60),
                  static_cast<long long>(sectors % 75));
    return text.data();
}

// The audio tracks of every session; a track ends where the next one starts,
// the last of a session at its lead-out (or the next session's first track).
std::vector<AudioTrack> AudioTracks(const quarnel::SessionInfo& sessions) {
    std::vector<AudioTrack> tracks;
    for (int s = 1; s <= sessions.GetSessionCount(); ++s) {
        const quarnel::TocData& toc = *sessions.GetTocData(s);
        for (int t = toc.GetFirstTrackNo(); t >= 1 && t <= toc.GetLastTrackNo(); ++t) {
            quarnel::TocData::_Data data;
            if (!toc.GetTrackData(t, data) || (data.Control() & kDataTrackBit) != 0) {
                continue;
            }
            quarnel::TocData::_Data next;
            const bool nextInSession = t < toc.GetLastTrackNo() && toc.GetTrackData(t + 1, next);
            const bool nextInNextSession = !nextInSession && toc.GetLeadOutStartPosEx() == 0 &&
                                           s < sessions.GetSessionCount() &&
                                           sessions.GetTocData(s + 1)->GetTrackData(t + 1, next);
            const std::uint32_t followingStart =
                nextInSession || nextInNextSession ? StartOf(next) : toc.GetLeadOutStartPosEx();
            const std::uint32_t start = StartOf(data);
            tracks.push_back({t, start, followingStart > start ? followingStart - 1 : start});
        }
    }
    return tracks;
}

int RunToc(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: sondrel-cli toc LETTER\n");
        return 2;
    }
    const DriveAccess access;
    quarnel::CDevCmdROM* device = access.DriveOf(args[0]);
    if (device == nullptr) {
        return 1;
    }
    const char letter = static_cast<char>('A' + device->GetDeviceID());
    if (const std::uint32_t result = device->TestUnitReady(); result != 0) {
        std::fprintf(stderr, "sondrel-cli: %c: not ready: %s\n", letter,
                     StatusText(result).c_str());
        return 1;
    }
    quarnel::FS_CDTEXT_INFO text;
    const std::uint32_t textResult = device->GetCDText(text);
    std::vector<unsigned char> toc(kTocBytes);
    std::uint32_t result = device->ReadToc(toc.data(), kTocBytes, 2, 0);
    if (result != 0) {
        result = device->ReadTocEx(toc.data(), kTocBytes, 2, 0);
    }
    if (result != 0) {
        std::fprintf(stderr, "sondrel-cli: %c: cannot read the table of contents: %s\n", letter,
                     StatusText(result).c_str());
        return 1;
    }
    const int length = (toc[0] << 8 | toc[1]) - 2;
    const std::vector<AudioTrack> tracks =
        AudioTracks(quarnel::SessionInfo(toc.data() + 4, length));
    if (textResult != 0) {
        std::printf("(no CD-Text: %s)\n", StatusText(textResult).c_str());
    }
    std::printf("%c: %zu audio track%s\n", letter, tracks.size(), tracks.size() == 1 ? "" : "s");
    for (const AudioTrack& track : tracks) {
        std::string title = text.Title(track.number);
        if (title.empty()) {
            title = lang::GetLangString("UIText", kUntitledText) + std::to_string(track.number);
        }
        std::printf("%2d  %-32s  %s  %7u  %7u\n", track.number, title.c_str(),
                    LengthText(std::int64_t{track.end} - track.start).c_str(), track.start,
                    track.end);
    }
    return 0;
}

} // namespace

const CliCommand kTocCommand{"toc", "LETTER",
                             "lists the disc's audio tracks: number, title, length "
                             "(min:s:frames), first and last sector",
                             RunToc};

} // namespace cli
