// Costs of the audio rings and the feed queue, each against a plain memcpy of
// one 37,632-byte capture buffer measured in the same run.
//
// The throughput cases move a long stream between a producer thread and a
// consumer thread. Each side checks before it calls that its call will not
// wait (spinning with yield instead), so the figures show the cost of the
// structures themselves rather than their 50 ms polling pauses; the queue runs
// with its pauses set to 0 for the same reason.

#include "engine/BufMana.h"
#include "engine/BufManaEx.h"
#include "engine/CDataList.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kChunk = 37632;
constexpr std::uint64_t kStreamBytes = 256ull * 1024 * 1024;
constexpr CDataListPauses kNoPauses{0, 0, 0};
constexpr int kBatch = 50; // puts or gets timed between two untimed refills

std::vector<std::uint8_t> Pattern(std::size_t length) {
    std::vector<std::uint8_t> data(length);
    for (std::size_t i = 0; i < length; ++i) {
        data[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return data;
}

void BM_Memcpy37632(benchmark::State& state) {
    const auto source = Pattern(kChunk);
    std::vector<std::uint8_t> dest(kChunk);
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), kChunk);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunk);
}
BENCHMARK(BM_Memcpy37632);

void BM_QueuePutThenGet37632(benchmark::State& state) {
    CDataList queue(kNoPauses);
    const auto source = Pattern(kChunk);
    std::vector<std::uint8_t> dest(kChunk);
    for (auto _ : state) {
        queue.PutData(source.data(), kChunk);
        std::uint32_t length = kChunk;
        benchmark::DoNotOptimize(queue.GetData(dest.data(), &length));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunk);
}
BENCHMARK(BM_QueuePutThenGet37632);

void BM_QueuePut37632(benchmark::State& state) {
    CDataList queue(kNoPauses);
    const auto source = Pattern(kChunk);
    std::vector<std::uint8_t> dest(kChunk);
    int sinceDrain = 0;
    for (auto _ : state) {
        queue.PutData(source.data(), kChunk);
        if (++sinceDrain == kBatch) {
            state.PauseTiming();
            for (std::uint32_t length = kChunk; queue.GetData(dest.data(), &length);) {
            }
            sinceDrain = 0;
            state.ResumeTiming();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunk);
}
BENCHMARK(BM_QueuePut37632);

void BM_QueueGet37632(benchmark::State& state) {
    CDataList queue(kNoPauses);
    const auto source = Pattern(kChunk);
    std::vector<std::uint8_t> dest(kChunk);
    int left = 0;
    for (auto _ : state) {
        if (left == 0) {
            state.PauseTiming();
            for (int i = 0; i < kBatch; ++i) {
                queue.PutData(source.data(), kChunk);
            }
            left = kBatch;
            state.ResumeTiming();
        }
        std::uint32_t length = kChunk;
        benchmark::DoNotOptimize(queue.GetData(dest.data(), &length));
        benchmark::ClobberMemory();
        --left;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunk);
}
BENCHMARK(BM_QueueGet37632);

// Capture blocks into the waveform ring of the program's size, read back in
// display-sized pieces.
void BM_WaveRingTwoThreads(benchmark::State& state) {
    constexpr std::uint32_t kPiece = 2048 * 4;
    constexpr std::uint32_t kCapacity = 200 * kChunk;
    const auto source = Pattern(kChunk);
    std::vector<std::uint8_t> dest(kPiece);
    BufManaEx ring;
    for (auto _ : state) {
        ring.Init(kCapacity, 0xFFFFFFFFu);
        std::thread writer([&] {
            for (std::uint64_t done = 0; done < kStreamBytes; done += kChunk) {
                while (ring.GetWriteTotal() - ring.GetReadTotal() > kCapacity - kChunk) {
                    std::this_thread::yield();
                }
                ring.Write(source.data(), kChunk);
            }
        });
        const std::uint64_t total = kStreamBytes / kChunk * kChunk + kChunk;
        for (std::uint64_t done = 0; done + kPiece <= total; done += kPiece) {
            while (ring.GetWriteTotal() - ring.GetReadTotal() < kPiece) {
                std::this_thread::yield();
            }
            ring.Read(dest.data(), kPiece);
        }
        writer.join();
        benchmark::DoNotOptimize(dest.data());
    }
    state.counters["dropped"] = static_cast<double>(ring.GetDroppedBytes());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kStreamBytes));
}
BENCHMARK(BM_WaveRingTwoThreads)->UseRealTime()->Unit(benchmark::kMillisecond);

// The playback geometry: slots of two seconds of CD audio, five of them.
void BM_SlotRingTwoThreads(benchmark::State& state) {
    constexpr std::int32_t kSlot = 352800;
    const auto slotCount = static_cast<std::uint32_t>(kStreamBytes / kSlot);
    const auto source = Pattern(kSlot);
    std::vector<std::uint8_t> dest(kSlot);
    BufMana ring;
    for (auto _ : state) {
        ring.Init(kSlot, 1, slotCount, 5 * kSlot);
        std::thread producer([&] {
            for (std::uint32_t put = 0; put < slotCount; ++put) {
                while (!ring.CanWrite()) {
                    std::this_thread::yield();
                }
                std::memcpy(ring.GetWriteSlot(), source.data(), kSlot);
            }
            ring.GetWriteSlot(); // null: marks the end of the stream
        });
        for (std::uint32_t taken = 0; taken < slotCount; ++taken) {
            while (!ring.CanRead()) {
                std::this_thread::yield();
            }
            std::memcpy(dest.data(), ring.GetReadGroup(), kSlot);
        }
        producer.join();
        benchmark::DoNotOptimize(dest.data());
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::uint64_t{slotCount} * kSlot));
}
BENCHMARK(BM_SlotRingTwoThreads)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_QueueTwoThreads(benchmark::State& state) {
    const auto source = Pattern(kChunk);
    std::vector<std::uint8_t> dest(kChunk);
    const std::uint64_t chunks = kStreamBytes / kChunk;
    for (auto _ : state) {
        CDataList queue(kNoPauses);
        std::thread producer([&] {
            for (std::uint64_t i = 0; i < chunks; ++i) {
                queue.PutData(source.data(), kChunk);
            }
        });
        for (std::uint64_t taken = 0; taken < chunks;) {
            std::uint32_t length = kChunk;
            if (queue.GetData(dest.data(), &length)) {
                ++taken;
            } else {
                std::this_thread::yield();
            }
        }
        producer.join();
        benchmark::DoNotOptimize(dest.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chunks * kChunk));
}
BENCHMARK(BM_QueueTwoThreads)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
