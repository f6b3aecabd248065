#include "engine/RecordingState.h"

HWAVEIN g_hWaveIn = nullptr;
std::atomic<bool> g_notRecording{true};
std::atomic<bool> g_captureClosing{true};
std::atomic<bool> g_toFile{false};
std::atomic<std::int32_t> g_fileType{kFileTypeNone};
std::string g_outputPath;
std::atomic<bool> g_wavQueued{false};
WavAppendFile g_wavFile;
std::atomic<std::uint32_t> g_wavBytesWritten{0};
std::atomic<std::uint64_t> g_takeBytesCaptured{0};
std::atomic<std::uint64_t> g_takeLimitBytes{kNoTakeLimit};
std::atomic<std::uint32_t> g_preRecordBytes{0};
std::atomic<std::uint64_t> g_takeStartByte{kNoTakeStartByte};
PreRecordRing g_preRecordRing;
BufManaEx g_waveRing;
// Built before main(); a failure to allocate the queues' bookkeeping there
// would end the program at once, which is the right outcome.
CDataList g_mp3Queue; // NOLINT(cert-err58-cpp)
CDataList g_cdQueue;  // NOLINT(cert-err58-cpp)
