#include "components/quarnel/emu/CueParser.h"

#include "components/quarnel/mmc/Msf.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace quarnel::emu {

namespace {

constexpr std::size_t kMaxTracks = 99;
constexpr std::size_t kCatalogDigits = 13;
constexpr std::size_t kIsrcChars = 12;

std::string Upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

// Splits a line into words; a double-quoted word may hold blanks. Returns false
// for an unterminated quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words) {
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
            ++at;
        }
        if (at >= line.size()) {
            break;
        }
        if (line[at] == '"') {
            const std::size_t end = line.find('"', at + 1);
            if (end == std::string_view::npos) {
                return false;
            }
            words.emplace_back(line.substr(at + 1, end - at - 1));
            at = end + 1;
        } else {
            std::size_t end = at;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t') {
                ++end;
            }
            words.emplace_back(line.substr(at, end - at));
            at = end;
        }
    }
    return true;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// "mm:ss:ff" with seconds below 60 and frames below 75, as a frame count.
std::optional<std::uint32_t> ParseTime(std::string_view text) {
    std::uint32_t parts[3] = {0, 0, 0};
    std::size_t part = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == ':') {
            if (digits == 0 || ++part > 2) {
                return std::nullopt;
            }
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 4) {
            parts[part] = parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits == 0 || parts[1] >= 60 || parts[2] >= kFramesPerSecond) {
        return std::nullopt;
    }
    return (parts[0] * 60 + parts[1]) * kFramesPerSecond + parts[2];
}

std::optional<CueTrackMode> ParseMode(const std::string& mode) {
    if (mode == "AUDIO") {
        return CueTrackMode::Audio;
    }
    if (mode == "MODE1/2352") {
        return CueTrackMode::Mode1Raw;
    }
    if (mode == "MODE2/2352") {
        return CueTrackMode::Mode2Raw;
    }
    if (mode == "CDG" || mode == "MODE1/2048" || mode == "MODE2/2336" || mode == "CDI/2336" ||
        mode == "CDI/2352") {
        return CueTrackMode::Other;
    }
    return std::nullopt;
}

class Parser {
public:
    CueParseResult Run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        std::size_t lineNumber = 0;
        while (!text.empty()) {
            ++lineNumber;
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (!ParseLine(line)) {
                m_result.error = "line " + std::to_string(lineNumber) + ": " + m_result.error;
                return std::move(m_result);
            }
        }
        if (!CheckEnd()) {
            return std::move(m_result);
        }
        m_result.ok = true;
        return std::move(m_result);
    }

private:
    bool Fail(std::string message) {
        m_result.error = std::move(message);
        return false;
    }

    CueTrack* Track() {
        return m_result.sheet.tracks.empty() ? nullptr : &m_result.sheet.tracks.back();
    }

    bool ParseLine(std::string_view line) {
        std::vector<std::string> words;
        if (!SplitWords(line, words)) {
            return Fail("unterminated quote");
        }
        if (words.empty()) {
            return true;
        }
        const std::string command = Upper(words[0]);
        if (command == "REM") {
            const std::size_t at = line.find_first_not_of(" \t", line.find_first_not_of(" \t") + 3);
            m_result.sheet.remarks.emplace_back(at == std::string_view::npos ? ""
                                                                             : line.substr(at));
            return true;
        }
        if (command == "CATALOG") {
            return ParseCatalog(words);
        }
        if (command == "FILE") {
            return ParseFile(words);
        }
        if (command == "TRACK") {
            return ParseTrack(words);
        }
        if (command == "INDEX") {
            return ParseIndex(words);
        }
        if (command == "TITLE" || command == "PERFORMER" || command == "SONGWRITER") {
            return ParseText(command, words);
        }
        if (command == "FLAGS") {
            return ParseFlags(words);
        }
        if (command == "ISRC") {
            return ParseIsrc(words);
        }
        if (command == "PREGAP" || command == "POSTGAP") {
            return ParseGap(command, words);
        }
        if (command == "CDTEXTFILE") {
            if (words.size() != 2) {
                return Fail("CDTEXTFILE needs one file name");
            }
            m_result.sheet.cdTextFile = words[1];
            return true;
        }
        return Fail("unknown command " + words[0]);
    }

    bool ParseCatalog(const std::vector<std::string>& words) {
        if (words.size() != 2 || words[1].size() != kCatalogDigits || !AllDigits(words[1])) {
            return Fail("CATALOG needs 13 decimal digits");
        }
        m_result.sheet.catalog = words[1];
        return true;
    }

    bool ParseFile(const std::vector<std::string>& words) {
        if (words.size() != 3 || words[1].empty()) {
            return Fail("FILE needs a name and a type");
        }
        m_result.sheet.files.push_back({words[1], Upper(words[2])});
        return true;
    }

    bool ParseTrack(const std::vector<std::string>& words) {
        if (m_result.sheet.files.empty()) {
            return Fail("TRACK before any FILE");
        }
        if (words.size() != 3 || !AllDigits(words[1]) || words[1].size() > 2) {
            return Fail("TRACK needs a number and a mode");
        }
        const auto number = static_cast<std::uint32_t>(std::stoul(words[1]));
        const CueTrack* previous = Track();
        if (previous != nullptr && !m_sawIndex1) {
            return Fail("track " + std::to_string(previous->number) + " has no INDEX 01");
        }
        const std::uint32_t expected = previous == nullptr ? number : previous->number + 1;
        if (number == 0 || number != expected || m_result.sheet.tracks.size() >= kMaxTracks) {
            return Fail("track numbers must run 1 to 99 without gaps");
        }
        const std::string modeText = Upper(words[2]);
        const std::optional<CueTrackMode> mode = ParseMode(modeText);
        if (!mode) {
            return Fail("unknown track mode " + words[2]);
        }
        CueTrack track;
        track.number = number;
        track.mode = *mode;
        track.modeText = modeText;
        track.fileIndex = m_result.sheet.files.size() - 1;
        track.control = *mode == CueTrackMode::Audio ? 0 : 4;
        m_result.sheet.tracks.push_back(std::move(track));
        m_sawIndex1 = false;
        m_lastIndex = -1;
        return true;
    }

    bool ParseIndex(const std::vector<std::string>& words) {
        CueTrack* track = Track();
        if (track == nullptr) {
            return Fail("INDEX outside a track");
        }
        if (words.size() != 3 || !AllDigits(words[1]) || words[1].size() > 2) {
            return Fail("INDEX needs a number and a time");
        }
        const int number = std::stoi(words[1]);
        const std::optional<std::uint32_t> frames = ParseTime(words[2]);
        if (!frames) {
            return Fail("bad time " + words[2] + " (mm:ss:ff, seconds below 60, frames below 75)");
        }
        if (number <= m_lastIndex || (number > 1 && !m_sawIndex1)) {
            return Fail("index numbers must rise from 00 or 01");
        }
        if (number > 0 && *frames < m_lastIndexFrames && m_lastIndex >= 0) {
            return Fail("index times must not go back");
        }
        if (number == 0) {
            track->index0Frames = *frames;
        } else if (number == 1) {
            track->index1Frames = *frames;
            m_sawIndex1 = true;
        }
        m_lastIndex = number;
        m_lastIndexFrames = *frames;
        return true;
    }

    bool ParseText(const std::string& command, const std::vector<std::string>& words) {
        if (words.size() != 2) {
            return Fail(command + " needs one text");
        }
        CueTrack* track = Track();
        if (command == "TITLE") {
            (track != nullptr ? track->title : m_result.sheet.title) = words[1];
        } else if (command == "PERFORMER") {
            (track != nullptr ? track->performer : m_result.sheet.performer) = words[1];
        }
        return true;
    }

    bool ParseFlags(const std::vector<std::string>& words) {
        CueTrack* track = Track();
        if (track == nullptr) {
            return Fail("FLAGS outside a track");
        }
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::string flag = Upper(words[i]);
            if (flag == "DCP") {
                track->control |= 2;
            } else if (flag == "PRE") {
                track->control |= 1;
            } else if (flag == "4CH") {
                track->control |= 8;
            } else if (flag != "SCMS") {
                return Fail("unknown flag " + words[i]);
            }
        }
        return true;
    }

    bool ParseIsrc(const std::vector<std::string>& words) {
        CueTrack* track = Track();
        if (track == nullptr || words.size() != 2 || words[1].size() != kIsrcChars ||
            !std::all_of(words[1].begin(), words[1].end(),
                         [](unsigned char c) { return std::isalnum(c); })) {
            return Fail("ISRC needs 12 letters or digits inside a track");
        }
        track->isrc = words[1];
        return true;
    }

    bool ParseGap(const std::string& command, const std::vector<std::string>& words) {
        CueTrack* track = Track();
        const std::optional<std::uint32_t> frames =
            words.size() == 2 ? ParseTime(words[1]) : std::nullopt;
        if (track == nullptr || !frames) {
            return Fail(command + " needs a time inside a track");
        }
        if (command == "PREGAP") {
            track->pregapFrames = *frames;
        }
        return true;
    }

    bool CheckEnd() {
        if (m_result.sheet.tracks.empty()) {
            return Fail("no tracks");
        }
        if (!m_sawIndex1) {
            return Fail("track " + std::to_string(m_result.sheet.tracks.back().number) +
                        " has no INDEX 01");
        }
        return true;
    }

    CueParseResult m_result;
    bool m_sawIndex1 = false;
    int m_lastIndex = -1;
    std::uint32_t m_lastIndexFrames = 0;
};

} // namespace

CueParseResult ParseCueSheet(std::string_view text) {
    Parser parser;
    return parser.Run(text);
}

} // namespace quarnel::emu
