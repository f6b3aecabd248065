#include "tools/cli/DriveServe.h"

#include "components/quarnel/serve/DriveServer.h"
#include "tools/cli/DriveAccess.h"
#include "util/ModuleFolder.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

namespace cli {

namespace {

// A minor number that the machine's own drives do not reach.
constexpr const char* kDefaultNode = "/dev/sr99";

// Set by SIGINT and SIGTERM; the server stops when it sees it.
std::atomic<bool> g_stopServing{false};

extern "C" void OnServeSignal(int /*signal*/) {
    g_stopServing.store(true, std::memory_order_relaxed);
}

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli drive serve D [--node /dev/srN] [--socket PATH]\n");
    return 2;
}

// The preload library of this program.
std::filesystem::path PreloadLibrary() {
    return std::filesystem::path(util::ProgramLibraryFolder()) / "libsondrel-device.so";
}

} // namespace

int RunDriveServe(std::span<const std::string_view> args) {
    if (args.empty()) {
        return Usage();
    }
    std::string node = kDefaultNode;
    std::string socketPath;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (i + 1 >= args.size()) {
            return Usage();
        }
        if (args[i] == "--node" && args[i + 1].starts_with("/dev/sr")) {
            node = args[++i];
        } else if (args[i] == "--socket") {
            socketPath = args[++i];
        } else {
            return Usage();
        }
    }
    const DriveAccess access;
    quarnel::CDevCmdROM* device = access.DriveOf(args[0]);
    quarnel::emu::EmulatedDrive* drive = device == nullptr ? nullptr : access.EmulatedOf(*device);
    if (drive == nullptr) {
        return 1;
    }
    if (socketPath.empty()) {
        socketPath = (std::filesystem::path(drive->Name()) / "serve.sock").string();
    }
    quarnel::serve::DriveServer server(*drive, socketPath);
    std::string error;
    if (!server.Listen(error)) {
        std::fprintf(stderr, "sondrel-cli: %s\n", error.c_str());
        return 1;
    }
    std::signal(SIGINT, OnServeSignal);
    std::signal(SIGTERM, OnServeSignal);
    std::printf("%c: served as %s until Ctrl-C; run disc programs with\n"
                "LD_PRELOAD=%s SONDREL_DEVICE_NODE=%s SONDREL_DEVICE_SOCKET=%s\n",
                'A' + device->GetDeviceID(), node.c_str(), PreloadLibrary().c_str(), node.c_str(),
                socketPath.c_str());
    std::fflush(stdout);
    server.Run(g_stopServing);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::printf("%c: no longer served\n", 'A' + device->GetDeviceID());
    return 0;
}

} // namespace cli
