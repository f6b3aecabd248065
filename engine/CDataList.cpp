#include "engine/CDataList.h"

#include "util/Environment.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace {

void PauseMs(unsigned pauseMs) {
    if (pauseMs != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
}

// Read once per queue, when it is built (before the threads that use it
// start), never on the capture thread.
bool TraceRequested() {
    return !util::EnvironmentValue("SONDREL_DEBUG_TRACE").empty();
}

} // namespace

CDataList::CDataList(CDataListPauses pauses) : m_pauses(pauses), m_traceEnabled(TraceRequested()) {
    Reset();
}

CDataList::~CDataList() {
    Reset();
}

void CDataList::Reset() {
    BlockList toFree;
    {
        const std::lock_guard lock(m_lock);
        while (!m_blocks.empty()) {
            RetireHeadBlock(toFree);
        }
        m_PutDataTotalLen = 0;
        m_GetDataTotalLen = 0;
        m_stop.store(false, std::memory_order_release);
    }
}

void CDataList::SetStop(bool stop) {
    // The flag carries no data of its own: the totals it is judged with are
    // read under the lock, so release/acquire is enough.
    m_stop.store(stop, std::memory_order_release);
}

bool CDataList::IsFinished() const {
    const std::lock_guard lock(m_lock);
    return m_stop.load(std::memory_order_acquire) && m_GetDataTotalLen >= m_PutDataTotalLen;
}

bool CDataList::IsEnded() const {
    return m_stop.load(std::memory_order_acquire);
}

void CDataList::PutData(const std::uint8_t* data, std::uint32_t length) {
    if (data == nullptr || length == 0) {
        return;
    }
    std::unique_lock lock(m_lock);
    if (m_stop.load(std::memory_order_acquire)) {
        lock.unlock();
        m_droppedPuts.fetch_add(1, std::memory_order_relaxed);
        TraceDroppedPut();
        return;
    }
    std::uint32_t done = 0;
    while (done < length) {
        const auto offset = static_cast<std::uint32_t>(m_PutDataTotalLen % kBlockBytes);
        if (offset == 0) {
            // No block yet, or the tail block is exactly full.
            AppendBlock();
        }
        const std::uint32_t piece = std::min(kBlockBytes - offset, length - done);
        std::memcpy(m_blocks.back().get() + offset, data + done, piece);
        done += piece;
        m_PutDataTotalLen += piece;
    }
    lock.unlock();
    PauseMs(m_pauses.afterPutMs);
}

bool CDataList::GetData(std::uint8_t* dest, std::uint32_t* length) {
    if (length == nullptr || (dest == nullptr && *length != 0)) {
        return false;
    }
    BlockList toFree;
    std::unique_lock lock(m_lock);
    const std::uint64_t waiting = m_PutDataTotalLen - m_GetDataTotalLen;
    const bool tooLittle = waiting < *length && !m_stop.load(std::memory_order_acquire);
    if (waiting == 0 || tooLittle || m_blocks.empty()) {
        lock.unlock();
        PauseMs(m_pauses.afterEmptyGetMs);
        return false;
    }
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(*length, waiting));
    std::uint32_t done = 0;
    while (done < count) {
        const auto offset = static_cast<std::uint32_t>(m_GetDataTotalLen % kBlockBytes);
        const std::uint32_t piece = std::min(kBlockBytes - offset, count - done);
        std::memcpy(dest + done, m_blocks.front().get() + offset, piece);
        done += piece;
        m_GetDataTotalLen += piece;
        if (offset + piece == kBlockBytes) {
            RetireHeadBlock(toFree);
        }
    }
    *length = count;
    lock.unlock();
    m_clips.Count({dest, count});
    PauseMs(m_pauses.afterGetMs);
    return true;
}

std::uint64_t CDataList::GetWaitingBytes() const {
    const std::lock_guard lock(m_lock);
    return m_PutDataTotalLen - m_GetDataTotalLen;
}

std::size_t CDataList::GetBlockCount() const {
    const std::lock_guard lock(m_lock);
    return m_blocks.size();
}

std::size_t CDataList::GetSpareBlockCount() const {
    const std::lock_guard lock(m_lock);
    return m_spareBlocks.size();
}

std::uint64_t CDataList::GetBlockAllocations() const {
    const std::lock_guard lock(m_lock);
    return m_blockAllocations;
}

std::uint64_t CDataList::GetClippedSamples() const {
    return m_clips.Total();
}

void CDataList::ResetClippedSamples() {
    m_clips.Reset();
}

std::uint64_t CDataList::GetDroppedPuts() const {
    return m_droppedPuts.load(std::memory_order_relaxed);
}

void CDataList::AppendBlock() {
    if (m_spareBlocks.empty()) {
        m_blocks.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kBlockBytes));
        ++m_blockAllocations;
    } else {
        m_blocks.splice(m_blocks.end(), m_spareBlocks, m_spareBlocks.begin());
    }
}

void CDataList::RetireHeadBlock(BlockList& toFree) {
    BlockList& target = m_spareBlocks.size() < kMaxSpareBlocks ? m_spareBlocks : toFree;
    target.splice(target.end(), m_blocks, m_blocks.begin());
}

void CDataList::TraceDroppedPut() const {
    if (m_traceEnabled) {
        static constexpr char kTrace[] = "PutData -- Stop\n";
        // A single write of a fixed text: no allocation, no stdio lock.
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kTrace, sizeof kTrace - 1);
    }
}
