#include "components/vesplin/CAuEncode.h"

#include "components/vesplin/EncodeFile.h"
#include "components/vesplin/TrackReadAhead.h"
#include "components/vesplin/TrackReader.h"
#include "util/ModuleFolder.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

// The queue and the drive carry little-endian PCM, which the library and the
// WAV file take as native 16-bit samples.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::uint32_t kBytesPerFrame = 4; // one 16-bit stereo sample pair
// The chunk size used to discard a queue when the caller's is unusable: one
// capture buffer.
constexpr std::uint32_t kDiscardChunkBytes = 37632;

// Takes and drops what is left in `queue` until it has ended and is drained.
void DiscardRest(CDataList& queue, std::uint32_t chunkBytes) {
    if (queue.IsFinished()) {
        return;
    }
    std::vector<std::uint8_t> sink(chunkBytes);
    while (!queue.IsFinished()) {
        std::uint32_t length = chunkBytes;
        queue.GetData(sink.data(), &length);
    }
}

vesplin::PcmFileFormat FormatOf(const std::string& path) {
    const std::string_view wav = ".wav";
    const bool isWav =
        path.size() >= wav.size() &&
        std::equal(wav.begin(), wav.end(), path.end() - wav.size(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    return isWav ? vesplin::PcmFileFormat::Wav : vesplin::PcmFileFormat::Mp3;
}

} // namespace

CAuEncode::CAuEncode()
    : CAuEncode(util::SettingsFile(util::GetModuleFolder()),
                std::make_unique<vesplin::EncodeFile>()) {}

CAuEncode::CAuEncode(std::string settingsPath, std::unique_ptr<vesplin::IEncodeOutput> output)
    : m_settingsPath(std::move(settingsPath)), m_output(std::move(output)) {}

CAuEncode::~CAuEncode() = default;

bool CAuEncode::BeginRun() {
    if (m_running.exchange(true, std::memory_order_acq_rel)) {
        return false;
    }
    m_mp3FileBytes.store(0, std::memory_order_relaxed);
    m_error.store(EncodeError::None, std::memory_order_relaxed);
    m_progressPercent.store(0, std::memory_order_relaxed);
    m_unreadableSectors.store(0, std::memory_order_relaxed);
    m_stopRequested.store(false, std::memory_order_relaxed);
    return true;
}

void CAuEncode::EndRun() {
    m_running.store(false, std::memory_order_release);
}

bool CAuEncode::Encode_DataStreamEx(CDataList* queue, int chunkBytes, const std::string& path) {
    if (queue == nullptr) {
        return Fail(EncodeError::BadArgument);
    }
    const bool validChunk =
        chunkBytes > 0 && static_cast<std::uint32_t>(chunkBytes) <= CDataList::kBlockBytes;
    const std::uint32_t chunk =
        validChunk ? static_cast<std::uint32_t>(chunkBytes) : kDiscardChunkBytes;
    if (!BeginRun()) {
        // The running job owns the file and the read-outs; this queue is
        // still drained so that whoever waits for it is not left hanging.
        DiscardRest(*queue, chunk);
        return false;
    }
    const bool ok = validChunk ? Stream(*queue, chunk, path) : Fail(EncodeError::BadArgument);
    DiscardRest(*queue, chunk);
    EndRun();
    return ok;
}

bool CAuEncode::Stream(CDataList& queue, std::uint32_t chunkBytes, const std::string& path) {
    vesplin::PcmFileWriter writer(*m_output);
    if (!Track(writer, writer.Begin(path, vesplin::PcmFileFormat::Mp3,
                                    vesplin::ReadMp3Settings(m_settingsPath), m_tags, 0))) {
        return false;
    }
    // Room for one chunk after the bytes of an incomplete sample carried over
    // from the chunk before; the samples are handed to the writer in place.
    std::vector<std::int16_t> samples((chunkBytes + kBytesPerFrame) / 2);
    auto* bytes = reinterpret_cast<std::uint8_t*>(samples.data());
    std::size_t carried = 0;
    while (!queue.IsFinished()) {
        std::uint32_t length = chunkBytes;
        if (!queue.GetData(bytes + carried, &length)) {
            continue;
        }
        const std::size_t available = carried + length;
        const std::size_t frames = available / kBytesPerFrame;
        if (!Track(writer, writer.Write(samples.data(), frames))) {
            return false;
        }
        carried = available % kBytesPerFrame;
        std::memmove(bytes, bytes + frames * kBytesPerFrame, carried);
    }
    return Track(writer, writer.Finish());
}

bool CAuEncode::Encode(quarnel::CDevCmdROM* device, unsigned long start, unsigned long end,
                       const std::string& path) {
    if (device == nullptr || end < start || end > std::numeric_limits<std::uint32_t>::max()) {
        return Fail(EncodeError::BadArgument);
    }
    if (!BeginRun()) {
        return false;
    }
    const bool ok = SaveTrack(*device, static_cast<std::uint32_t>(start),
                              static_cast<std::uint32_t>(end), path);
    EndRun();
    return ok;
}

bool CAuEncode::SaveTrack(quarnel::CDevCmdROM& device, std::uint32_t first, std::uint32_t last,
                          const std::string& path) {
    vesplin::TrackReader reader(device, first, last);
    const std::uint64_t trackBytes = reader.TotalSectors() * vesplin::TrackReader::kSectorBytes;
    m_checksums = vesplin::TrackChecksums(trackBytes / kBytesPerFrame);
    vesplin::PcmFileWriter writer(*m_output);
    const auto declaredBytes = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(trackBytes, std::numeric_limits<std::uint32_t>::max() - 36));
    if (!Track(writer, writer.Begin(path, FormatOf(path), vesplin::ReadMp3Settings(m_settingsPath),
                                    m_tags, declaredBytes))) {
        return false;
    }
    // The drive is read on a thread of its own while the chunks read before
    // are encoded here, in order, so the file is what one thread would write.
    std::uint64_t sectorsDone = 0;
    vesplin::TrackReadAhead readAhead(reader, m_checksums, m_stopRequested);
    while (const vesplin::TrackReadAhead::Chunk* chunk = readAhead.Next()) {
        m_unreadableSectors.store(chunk->unreadableSectors, std::memory_order_relaxed);
        const std::size_t frames =
            chunk->sectors * vesplin::TrackReader::kSectorBytes / kBytesPerFrame;
        if (!Track(writer, writer.Write(chunk->samples.data(), frames))) {
            return false;
        }
        sectorsDone += chunk->sectors;
        m_progressPercent.store(static_cast<int>(sectorsDone * 100 / reader.TotalSectors()),
                                std::memory_order_relaxed);
    }
    const bool complete = sectorsDone == reader.TotalSectors();
    return Track(writer, writer.Finish()) && complete;
}

bool CAuEncode::Track(const vesplin::PcmFileWriter& writer, bool ok) {
    m_mp3FileBytes.store(writer.FileBytes(), std::memory_order_relaxed);
    return ok || Fail(writer.Error());
}

bool CAuEncode::Fail(EncodeError error) {
    m_error.store(error, std::memory_order_relaxed);
    return false;
}

std::uint32_t CAuEncode::Encode_GetCurrMp3FileLen() const {
    const std::uint64_t bytes = m_mp3FileBytes.load(std::memory_order_relaxed);
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
}

int CAuEncode::GetEncodeProgress() const {
    return m_progressPercent.load(std::memory_order_relaxed);
}

std::uint64_t CAuEncode::GetUnreadableSectors() const {
    return m_unreadableSectors.load(std::memory_order_relaxed);
}

void CAuEncode::EncodeStop() {
    if (m_running.load(std::memory_order_acquire)) {
        m_stopRequested.store(true, std::memory_order_relaxed);
        return;
    }
    m_mp3FileBytes.store(0, std::memory_order_relaxed);
    m_error.store(EncodeError::None, std::memory_order_relaxed);
    m_progressPercent.store(0, std::memory_order_relaxed);
    m_unreadableSectors.store(0, std::memory_order_relaxed);
}

CAuEncode::EncodeError CAuEncode::Encode_GetError() const {
    return m_error.load(std::memory_order_relaxed);
}

void CAuEncode::SetTags(vesplin::Mp3Tags tags) {
    m_tags = std::move(tags);
}
