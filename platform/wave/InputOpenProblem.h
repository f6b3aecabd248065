#pragma once
// Beyond the Windows wave functions: why the calling thread's last waveInOpen
// failed, in words, when the input knows more than an error number can say
// (a "file:" input names its file and what is wrong with it).

#include <string>

// Empty when the last open gave no reason (or succeeded).
[[nodiscard]] std::string waveInOpenProblem();
// Set by an input while it is being opened; waveInOpen clears it first.
void setWaveInOpenProblem(std::string problem);
