#include "platform/wave/InputOpenProblem.h"

namespace {

// Per thread: an open and its reason are on the same thread, and opens on
// other threads never see each other's.
thread_local std::string t_problem;

} // namespace

namespace platform::wave {

std::string WaveInOpenProblem() {
    return t_problem;
}

void SetWaveInOpenProblem(std::string problem) {
    t_problem = std::move(problem);
}

} // namespace platform::wave
