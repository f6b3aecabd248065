#include "tools/cli/UpdateCommand.h"

#include "online/CUpdate.h"
#include "online/DownloadFile.h"
#include "util/ModuleFolder.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace cli {

namespace {

// Far longer than a check can take: each of its transfers ends at its
// connect or stall time-out.
constexpr std::chrono::minutes kLongestCheck{30};

int RunUpdate(std::span<const std::string_view> args) {
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: sondrel-cli update [SERVER]\n");
        return 2;
    }
    online::OnlineSite site = online::DefaultOnlineSite();
    if (!args.empty()) {
        site.serverAddress = std::string(args[0]);
    }
    if (site.serverAddress.empty()) {
        std::printf("no server set ([Online] Server in %s): only the local checks run\n",
                    util::SettingsFile(site.programFolder).c_str());
    }
    online::CUpdate update(site, [](int exitCode) {
        std::printf("the updater was started; the program ends now\n");
        std::fflush(nullptr);
        std::_Exit(exitCode);
    });
    update.Start("sondrel");
    if (!update.WaitForChecks(kLongestCheck)) {
        std::fprintf(stderr, "sondrel-cli: the update check did not end\n");
        return 1;
    }
    std::printf("update check done\n");
    return 0;
}

int RunDownload(std::span<const std::string_view> args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: sondrel-cli download URL FILE\n");
        return 2;
    }
    const bool downloaded =
        online::DownloadFile(std::string(args[0]), std::string(args[1]), online::kIniDownload);
    std::printf("%s\n", downloaded ? "downloaded" : "not downloaded");
    return downloaded ? 0 : 1;
}

} // namespace

const CliCommand kUpdateCommand{
    "update", "[SERVER]",
    "runs the update check (server from SoftSet.ini [Online] Server unless given)", RunUpdate};

const CliCommand kDownloadCommand{"download", "URL FILE",
                                  "downloads one file as the online services fetch an .ini file",
                                  RunDownload};

} // namespace cli
