#include "tests/components/vesplin/EncodeRun.h"

#include "tests/engine/TestStream.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace vesplintest {

EncodeRun::EncodeRun(CAuEncode& encoder, CDataList& queue, int chunkBytes, const std::string& path)
    : m_encoder(encoder), m_queue(queue) {
    m_encoder.EncodeStop();
    m_queue.SetStop(false);
    m_result = std::async(std::launch::async, [this, chunkBytes, path] {
        return m_encoder.Encode_DataStreamEx(&m_queue, chunkBytes, path);
    });
}

EncodeRun::~EncodeRun() {
    // A test that failed before Stop still must not leave the thread waiting.
    if (m_result.valid()) {
        m_queue.SetStop(true);
        m_result.wait();
    }
}

void EncodeRun::Put(const std::vector<std::uint8_t>& stream, std::size_t from, std::size_t to,
                    std::uint32_t pieceBytes) {
    for (std::size_t at = from; at < to;) {
        const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(pieceBytes, to - at));
        m_queue.PutData(stream.data() + at, piece);
        at += piece;
    }
}

bool EncodeRun::Stop() {
    m_encoder.EncodeStop();
    m_queue.SetStop(true);
    const bool drained = enginetest::Eventually([this] { return m_queue.IsFinished(); });
    EXPECT_TRUE(drained) << "the queue was never drained";
    const bool result = m_result.get();
    return drained && result;
}

} // namespace vesplintest
