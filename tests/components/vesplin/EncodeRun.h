#pragma once
// One live MP3 take for the encoder tests, driven the way the recording
// session drives it: the encoder runs Encode_DataStreamEx on its own thread,
// the test puts capture-sized buffers into the queue as the capture callback
// does, and at Stop calls EncodeStop, ends the queue and waits for it to
// drain before it collects the encoder's result.

#include "components/vesplin/CAuEncode.h"
#include "engine/CDataList.h"

#include <cstdint>
#include <future>
#include <string>
#include <vector>

namespace vesplintest {

// The size of one capture buffer, 16 CD sectors.
constexpr std::uint32_t kCaptureBytes = 37632;

class EncodeRun {
public:
    EncodeRun(CAuEncode& encoder, CDataList& queue, int chunkBytes, const std::string& path);
    ~EncodeRun();
    EncodeRun(const EncodeRun&) = delete;
    EncodeRun& operator=(const EncodeRun&) = delete;

    // Puts bytes [from, to) of `stream` in pieces of at most `pieceBytes`.
    void Put(const std::vector<std::uint8_t>& stream, std::size_t from, std::size_t to,
             std::uint32_t pieceBytes = kCaptureBytes);

    // Stop: EncodeStop, end the queue, wait until it is drained; then the
    // result of Encode_DataStreamEx. False (with a test failure) if the queue
    // never drains.
    bool Stop();

private:
    CAuEncode& m_encoder;
    CDataList& m_queue;
    std::future<bool> m_result;
};

} // namespace vesplintest
