#include "components/vesplin/CAuEncode.h"

#include "components/vesplin/EncodeFile.h"
#include "util/ModuleFolder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

// The queue carries little-endian PCM, which the library takes as native
// 16-bit samples.
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

} // namespace

CAuEncode::CAuEncode()
    : CAuEncode(util::GetModuleFolder() + "SoftSet.ini", std::make_unique<vesplin::EncodeFile>()) {}

CAuEncode::CAuEncode(std::string settingsPath, std::unique_ptr<vesplin::IEncodeOutput> output)
    : m_settingsPath(std::move(settingsPath)), m_output(std::move(output)) {}

CAuEncode::~CAuEncode() = default;

bool CAuEncode::Encode_DataStreamEx(CDataList* queue, int chunkBytes, const std::string& path) {
    if (queue == nullptr) {
        return Fail(EncodeError::BadArgument);
    }
    const bool validChunk =
        chunkBytes > 0 && static_cast<std::uint32_t>(chunkBytes) <= CDataList::kBlockBytes;
    const std::uint32_t chunk =
        validChunk ? static_cast<std::uint32_t>(chunkBytes) : kDiscardChunkBytes;
    if (m_running.exchange(true, std::memory_order_acq_rel)) {
        // The running stream owns the file and the read-outs; this queue is
        // still drained so that whoever waits for it is not left hanging.
        DiscardRest(*queue, chunk);
        return false;
    }
    m_mp3FileBytes.store(0, std::memory_order_relaxed);
    m_error.store(EncodeError::None, std::memory_order_relaxed);
    const bool ok = validChunk ? Stream(*queue, chunk, path) : Fail(EncodeError::BadArgument);
    DiscardRest(*queue, chunk);
    m_running.store(false, std::memory_order_release);
    return ok;
}

bool CAuEncode::Stream(CDataList& queue, std::uint32_t chunkBytes, const std::string& path) {
    vesplin::Mp3FrameEncoder encoder;
    if (!encoder.Start(vesplin::ReadMp3Settings(m_settingsPath), m_tags)) {
        return Fail(EncodeError::EncoderFailed);
    }
    if (!m_output->Create(path)) {
        return Fail(EncodeError::CannotCreate);
    }
    const bool encoded = EncodeQueue(queue, chunkBytes, encoder);
    const bool closed = m_output->Close();
    return encoded && (closed || Fail(EncodeError::WriteFailed));
}

bool CAuEncode::EncodeQueue(CDataList& queue, std::uint32_t chunkBytes,
                            vesplin::Mp3FrameEncoder& encoder) {
    const std::vector<std::uint8_t> tag = encoder.Id3v2Tag();
    if (!Write(tag)) {
        return false;
    }
    // Room for one chunk after the bytes of an incomplete sample carried over
    // from the chunk before; the samples are handed to the encoder in place.
    std::vector<std::int16_t> samples((chunkBytes + kBytesPerFrame) / 2);
    auto* bytes = reinterpret_cast<std::uint8_t*>(samples.data());
    std::size_t carried = 0;
    std::vector<std::uint8_t> mp3;
    while (!queue.IsFinished()) {
        std::uint32_t length = chunkBytes;
        if (!queue.GetData(bytes + carried, &length)) {
            continue;
        }
        const std::size_t available = carried + length;
        const std::size_t frames = available / kBytesPerFrame;
        if (!encoder.Encode(samples.data(), frames, mp3)) {
            return Fail(EncodeError::EncoderFailed);
        }
        if (!Write(mp3)) {
            return false;
        }
        carried = available % kBytesPerFrame;
        std::memmove(bytes, bytes + frames * kBytesPerFrame, carried);
    }
    if (!encoder.Flush(mp3)) {
        return Fail(EncodeError::EncoderFailed);
    }
    if (!Write(mp3)) {
        return false;
    }
    const std::vector<std::uint8_t> summary = encoder.LameTagFrame();
    if (!summary.empty() && !m_output->WriteAt(tag.size(), summary.data(), summary.size())) {
        return Fail(EncodeError::WriteFailed);
    }
    return true;
}

bool CAuEncode::Write(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return true;
    }
    if (!m_output->Append(bytes.data(), bytes.size())) {
        return Fail(EncodeError::WriteFailed);
    }
    m_mp3FileBytes.fetch_add(bytes.size(), std::memory_order_relaxed);
    return true;
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

void CAuEncode::EncodeStop() {
    if (m_running.load(std::memory_order_acquire)) {
        return;
    }
    m_mp3FileBytes.store(0, std::memory_order_relaxed);
    m_error.store(EncodeError::None, std::memory_order_relaxed);
}

CAuEncode::EncodeError CAuEncode::Encode_GetError() const {
    return m_error.load(std::memory_order_relaxed);
}

void CAuEncode::SetTags(vesplin::Mp3Tags tags) {
    m_tags = std::move(tags);
}
