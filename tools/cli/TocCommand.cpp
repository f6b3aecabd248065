#include "tools/cli/TocCommand.h"

#include "disc/TrackRowsTable.h"
#include "tools/cli/DiscTracks.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/TerminalText.h"

#include <cstdio>

namespace cli {

namespace {

int RunToc(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: sondrel-cli toc LETTER\n");
        return 2;
    }
    const DriveAccess access;
    DiscTracks tracks;
    if (!ReadDiscTracks(access, args[0], tracks)) {
        return 1;
    }
    const char letter = tracks.letter;
    disc::TrackRowsTable& rows = tracks.rows;
    const int count = rows.RowCount();
    std::printf("%c: %d audio track%s\n", letter, count, count == 1 ? "" : "s");
    for (int row = 0; row < count; ++row) {
        std::printf("%2s  %-32s  %s  %7s  %7s\n", rows.Cell(row, disc::kColumnTrack).c_str(),
                    TerminalText(rows.Cell(row, disc::kColumnTitle)).c_str(),
                    rows.Cell(row, disc::kColumnTimes).c_str(),
                    rows.Cell(row, disc::kColumnStart).c_str(),
                    rows.Cell(row, disc::kColumnEnd).c_str());
    }
    return 0;
}

} // namespace

const CliCommand kTocCommand{"toc", "LETTER",
                             "lists the disc's audio tracks: number, title, length "
                             "(min:s:frames), first and last sector",
                             RunToc};

} // namespace cli
