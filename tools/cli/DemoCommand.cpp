#include "tools/cli/DemoCommand.h"

#include "engine/BufManaEx.h"
#include "engine/CDataList.h"
#include "lang/LangText.h"
#include "util/FileVersion.h"
#include "util/ModuleFolder.h"
#include "util/ThreadName.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <thread>
#include <vector>

namespace cli {

namespace {

constexpr std::uint32_t kBufferBytes = 37'632; // one capture buffer: 16 CD sectors
constexpr std::uint32_t kBytesPerSecond = 176'400;
constexpr std::uint32_t kWaveRingBytes = 200 * kBufferBytes;
constexpr std::uint32_t kWaveRingLimit = 0x40000000;

// Capture buffer `index` of a stereo test tone: 440 Hz left, 660 Hz right.
std::vector<std::uint8_t> ToneBuffer(std::uint32_t index) {
    std::vector<std::uint8_t> bytes(kBufferBytes);
    const std::uint32_t firstFrame = index * (kBufferBytes / 4);
    for (std::uint32_t frame = 0; frame < kBufferBytes / 4; ++frame) {
        const double t = static_cast<double>(firstFrame + frame) / 44'100.0;
        const auto left =
            static_cast<std::int16_t>(8000 * std::sin(2 * std::numbers::pi * 440 * t));
        const auto right =
            static_cast<std::int16_t>(8000 * std::sin(2 * std::numbers::pi * 660 * t));
        const auto l = static_cast<std::uint16_t>(left);
        const auto r = static_cast<std::uint16_t>(right);
        bytes[frame * 4 + 0] = static_cast<std::uint8_t>(l);
        bytes[frame * 4 + 1] = static_cast<std::uint8_t>(l >> 8);
        bytes[frame * 4 + 2] = static_cast<std::uint8_t>(r);
        bytes[frame * 4 + 3] = static_cast<std::uint8_t>(r >> 8);
    }
    return bytes;
}

void ShowLanguage() {
    const std::string folder = util::GetModuleFolder();
    std::printf("Sondrel %s\n",
                util::GetFileVersion(util::ExecutableFolder() + "sondrel-cli").c_str());
    std::printf("program folder: %s\n", folder.c_str());
    std::printf("language: \"%s\", font \"%s\"\n", lang::GetLanguageName().c_str(),
                lang::GetLanguageFont().c_str());
    std::printf("main window labels:");
    for (int number = 1; number <= 10; ++number) {
        std::printf(" [%s]", lang::GetLangString("UIText", number).c_str());
    }
    std::printf("\n");
}

// Pushes `buffers` capture buffers of a test tone through the display ring and
// the recording queue, each drained by a thread of its own as in a take, and
// checks that every byte arrives once and in order.
bool PushThroughRingAndQueue(std::uint32_t buffers) {
    BufManaEx waveRing;
    waveRing.Init(kWaveRingBytes, kWaveRingLimit);
    CDataList queue;
    queue.SetStop(false);

    bool ringIntact = true;
    std::thread display([&] {
        util::NameThisThread("display");
        std::vector<std::uint8_t> chunk(kBufferBytes);
        for (std::uint32_t index = 0; index < buffers && !waveRing.IsStopped(); ++index) {
            waveRing.Read(chunk.data(), kBufferBytes);
            ringIntact = ringIntact && (waveRing.IsStopped() || chunk == ToneBuffer(index));
        }
    });
    bool queueIntact = true;
    std::uint64_t queued = 0;
    std::thread writer([&] {
        util::NameThisThread("writer");
        std::vector<std::uint8_t> chunk(kBufferBytes);
        for (std::uint32_t index = 0; !queue.IsFinished();) {
            std::uint32_t length = kBufferBytes;
            if (queue.GetData(chunk.data(), &length)) {
                queueIntact = queueIntact && length == kBufferBytes && chunk == ToneBuffer(index++);
                queued += length;
            }
        }
    });
    for (std::uint32_t index = 0; index < buffers; ++index) {
        const std::vector<std::uint8_t> buffer = ToneBuffer(index);
        waveRing.Write(buffer.data(), kBufferBytes);
        queue.PutData(buffer.data(), kBufferBytes);
    }
    queue.SetStop(true);
    writer.join();
    if (waveRing.GetDroppedBytes() != 0) {
        waveRing.SetStop(true); // the display fell behind; it only loses pictures
    }
    display.join();

    std::printf("%u capture buffers (%.1f s of sound) through the display ring and the "
                "recording queue\n",
                buffers, static_cast<double>(buffers) * kBufferBytes / kBytesPerSecond);
    std::printf("display ring: %s, %llu bytes dropped for the display\n",
                ringIntact ? "every byte in order" : "DAMAGED",
                static_cast<unsigned long long>(waveRing.GetDroppedBytes()));
    std::printf("recording queue: %llu bytes, %s\n", static_cast<unsigned long long>(queued),
                queueIntact && queued == std::uint64_t{buffers} * kBufferBytes
                    ? "every byte once and in order"
                    : "DAMAGED");
    return ringIntact && queueIntact && queued == std::uint64_t{buffers} * kBufferBytes;
}

int RunDemo(std::span<const std::string_view> args) {
    std::uint32_t seconds = 10;
    if (args.size() == 2 && args[0] == "--seconds") {
        const auto [end, error] =
            std::from_chars(args[1].data(), args[1].data() + args[1].size(), seconds);
        if (error != std::errc{} || end != args[1].data() + args[1].size() || seconds == 0) {
            args = {};
            seconds = 0;
        }
    }
    if ((!args.empty() && args.size() != 2) || seconds == 0) {
        std::fprintf(stderr, "usage: sondrel-cli demo [--seconds N]\n");
        return 2;
    }
    ShowLanguage();
    const std::uint32_t buffers =
        static_cast<std::uint32_t>(std::uint64_t{seconds} * kBytesPerSecond / kBufferBytes);
    return PushThroughRingAndQueue(buffers) ? 0 : 1;
}

} // namespace

const CliCommand kDemoCommand{
    "demo", "[--seconds N]",
    "shows the language texts and pushes N seconds (default 10) of a test tone through the "
    "capture ring and the recording queue",
    RunDemo};

} // namespace cli
