#pragma once
// Beyond the Windows wave functions: why the calling thread's last waveInOpen
// failed, in words, when the input knows more than an error number can say
// (a "file:" input names its file and what is wrong with it).

#include <string>

namespace platform::wave {

// Empty when the last open gave no reason (or succeeded).
[[nodiscard]] std::string WaveInOpenProblem();
// Set by an input while it is being opened; waveInOpen clears it first.
void SetWaveInOpenProblem(std::string problem);

} // namespace platform::wave
