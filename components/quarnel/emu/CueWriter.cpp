#include "components/quarnel/emu/CueWriter.h"

#include "components/quarnel/mmc/Msf.h"

#include <cstdio>
#include <sstream>

namespace quarnel::emu {

namespace {

// CUE texts are double-quoted and cannot hold a double quote.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? '\'' : c;
    }
    return out + "\"";
}

std::string Time(std::uint32_t frames) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", frames / (60 * kFramesPerSecond),
                  frames / kFramesPerSecond % 60, frames % kFramesPerSecond);
    return text;
}

} // namespace

std::string FormatCueSheet(const DiscState& state, std::string_view binName) {
    std::ostringstream out;
    out << "REM MEDIUM " << state.Traits().name << '\n';
    out << "REM DISC "
        << (state.complete || state.medium == MediumKind::PressedCd ? "COMPLETE" : "APPENDABLE")
        << '\n';
    if (!state.catalog.empty()) {
        out << "CATALOG " << state.catalog << '\n';
    }
    if (!state.title.empty()) {
        out << "TITLE " << Quoted(state.title) << '\n';
    }
    if (!state.performer.empty()) {
        out << "PERFORMER " << Quoted(state.performer) << '\n';
    }
    out << "FILE " << Quoted(binName) << " BINARY\n";
    for (const DiscTrack& track : state.tracks) {
        char number[8] = {};
        std::snprintf(number, sizeof number, "%02u", track.number);
        out << "  TRACK " << number << ((track.control & 4) != 0 ? " MODE1/2352" : " AUDIO")
            << '\n';
        if (!track.title.empty()) {
            out << "    TITLE " << Quoted(track.title) << '\n';
        }
        if (!track.performer.empty()) {
            out << "    PERFORMER " << Quoted(track.performer) << '\n';
        }
        if ((track.control & 0x0B) != 0) {
            out << "    FLAGS" << ((track.control & 2) != 0 ? " DCP" : "")
                << ((track.control & 8) != 0 ? " 4CH" : "")
                << ((track.control & 1) != 0 ? " PRE" : "") << '\n';
        }
        out << "    REM SESSION " << track.session << '\n';
        if (state.trackOpen && &track == &state.tracks.back()) {
            out << "    REM OPEN\n";
        }
        if (const std::uint32_t pregap = state.PregapStart(track); pregap < track.start) {
            out << "    INDEX 00 " << Time(pregap) << '\n'; // silence in the image
        }
        out << "    INDEX 01 " << Time(track.start) << '\n';
    }
    return out.str();
}

} // namespace quarnel::emu
