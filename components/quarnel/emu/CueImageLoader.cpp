#include "components/quarnel/emu/CueImageLoader.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/CueParser.h"
#include "components/quarnel/mmc/CdText.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

namespace quarnel::emu {

namespace {

constexpr std::uint64_t kBlockBytes = 2352;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

CueImageResult Fail(std::string message) {
    CueImageResult result;
    result.error = std::move(message);
    return result;
}

bool AppendFile(const std::filesystem::path& from, std::ofstream& to) {
    std::ifstream in(from, std::ios::binary);
    std::vector<char> chunk(1 << 20);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        to.write(chunk.data(), in.gcount());
    }
    return in.eof() && static_cast<bool>(to);
}

// The first block of Latin-1 (or ASCII) text: the one a disc state keeps.
const CdTextBlock* Latin1Block(const CdText& text) {
    for (const CdTextBlock& block : text.blocks) {
        if (block.characterCode == cdtext::kLatin1 || block.characterCode == cdtext::kAscii) {
            return &block;
        }
    }
    return nullptr;
}

// Fills the titles and performers the sheet leaves empty from the CD-Text
// packs of its CDTEXTFILE, found beside the sheet. Empty, or what is wrong.
std::string ApplyCdTextFile(const std::filesystem::path& sheetFolder, const std::string& name,
                            DiscState& state) {
    const std::filesystem::path path = FindFileIgnoringCase(sheetFolder, name);
    if (path.empty()) {
        return "CDTEXTFILE " + name + " not found beside the sheet";
    }
    std::string readError;
    const std::optional<std::string> bytes = ReadWholeFile(path, &readError);
    if (!bytes) {
        return !readError.empty() ? readError : "cannot read " + path.string();
    }
    const Parsed<CdText> decoded = DecodeCdTextPacks(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    const CdTextBlock* block = decoded.Ok() ? Latin1Block(decoded.value) : nullptr;
    if (block == nullptr) {
        return "CDTEXTFILE " + name + " holds no CD-Text in Latin-1";
    }
    const auto fill = [block](std::string& text, std::uint8_t type, std::size_t track) {
        // A lone tab repeats the text of the track before.
        std::size_t from = track;
        while (from > 1 && block->Text(type, from) == "\t") {
            --from;
        }
        if (text.empty() && track < kCdTextTracks) {
            text = block->Text(type, from);
        }
    };
    fill(state.title, cdtext::kTitle, 0);
    fill(state.performer, cdtext::kPerformer, 0);
    for (DiscTrack& track : state.tracks) {
        fill(track.title, cdtext::kTitle, track.number);
        fill(track.performer, cdtext::kPerformer, track.number);
    }
    return {};
}

} // namespace

std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& folder,
                                           const std::string& name) {
    // A sheet may name its file with a folder part, written with either kind of
    // slash; only the file name counts.
    const std::filesystem::path leaf = name.substr(name.find_last_of("/\\") + 1);
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / leaf, error)) {
        return folder / leaf;
    }
    const std::string wanted = Lower(leaf.string());
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && Lower(entry.path().filename().string()) == wanted) {
            return entry.path();
        }
    }
    return {};
}

CueImageResult LoadCueImage(const std::filesystem::path& cuePath,
                            const std::filesystem::path& destinationBin) {
    std::string readError;
    const std::optional<std::string> text = ReadWholeFile(cuePath, &readError);
    if (!text) {
        return Fail(!readError.empty() ? readError : "cannot read " + cuePath.string());
    }
    CueParseResult parsed = ParseCueSheet(*text);
    if (!parsed.ok) {
        return Fail(cuePath.filename().string() + ", " + parsed.error);
    }
    const CueSheet& sheet = parsed.sheet;
    std::vector<std::filesystem::path> paths;
    std::vector<std::uint32_t> fileStart; // first block of each file in the image
    std::uint64_t totalBlocks = 0;
    for (const CueFile& file : sheet.files) {
        if (file.type != "BINARY") {
            return Fail("file " + file.name + ": only BINARY files are supported");
        }
        const std::filesystem::path found = FindFileIgnoringCase(cuePath.parent_path(), file.name);
        std::error_code error;
        const std::uint64_t bytes = found.empty() ? 0 : std::filesystem::file_size(found, error);
        if (found.empty() || error) {
            return Fail("file " + file.name + " not found beside the sheet");
        }
        if (bytes == 0 || bytes % kBlockBytes != 0) {
            return Fail("file " + file.name + " is not a whole number of 2352-byte blocks");
        }
        paths.push_back(found);
        fileStart.push_back(static_cast<std::uint32_t>(totalBlocks));
        totalBlocks += bytes / kBlockBytes;
    }
    if (totalBlocks >= kCdCapacityBlocks + 90 * 75) {
        return Fail("the image is longer than a CD");
    }
    DiscState state;
    state.medium = MediumKind::PressedCd;
    state.imageBlocks = static_cast<std::uint32_t>(totalBlocks);
    state.closedSessions = 1;
    state.complete = true;
    state.catalog = sheet.catalog;
    state.title = sheet.title;
    state.performer = sheet.performer;
    for (const CueTrack& track : sheet.tracks) {
        if (track.mode == CueTrackMode::Other) {
            return Fail("track " + std::to_string(track.number) + ": mode " + track.modeText +
                        " has no 2352-byte blocks");
        }
        const std::uint32_t start = fileStart[track.fileIndex] + track.index1Frames;
        const std::uint64_t fileEnd =
            track.fileIndex + 1 < fileStart.size() ? fileStart[track.fileIndex + 1] : totalBlocks;
        if (start >= fileEnd || (!state.tracks.empty() && start <= state.tracks.back().start)) {
            return Fail("track " + std::to_string(track.number) +
                        ": INDEX 01 lies outside its file or before the previous track");
        }
        if (!state.tracks.empty()) {
            state.tracks.back().length = start - state.tracks.back().start;
        }
        state.tracks.push_back(
            {track.number, 1, start, 0, track.control, track.title, track.performer});
    }
    state.tracks.back().length =
        static_cast<std::uint32_t>(totalBlocks) - state.tracks.back().start;
    if (!sheet.cdTextFile.empty()) {
        if (std::string problem = ApplyCdTextFile(cuePath.parent_path(), sheet.cdTextFile, state);
            !problem.empty()) {
            return Fail(std::move(problem));
        }
    }
    std::ofstream out(destinationBin, std::ios::binary | std::ios::trunc);
    for (const std::filesystem::path& path : paths) {
        if (!AppendFile(path, out)) {
            return Fail("cannot copy " + path.string());
        }
    }
    CueImageResult result;
    result.ok = true;
    result.state = std::move(state);
    return result;
}

} // namespace quarnel::emu
