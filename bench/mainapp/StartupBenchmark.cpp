// Time from starting the Sondrel program to its main window shown (and closed
// again at once), against a bare Qt dialog program started the same way.
#include "bench/BenchQuick.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs `program` with the environment of the benchmark plus `extra`; true
// when it ended with status 0.
bool RunProgram(const std::string& program, const std::vector<std::string>& extra) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        variables.emplace_back(*entry);
    }
    variables.insert(variables.end(), extra.begin(), extra.end());
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> Environment() {
    const std::filesystem::path work =
        std::filesystem::temp_directory_path() / "sondrel-startup-bench";
    std::filesystem::create_directories(work);
    return {"QT_QPA_PLATFORM=offscreen",
            "SONDREL_QUIT_AFTER_MS=0",
            "SONDREL_NO_SPLASH=1",
            "SONDREL_AUDIO_INPUT=tone",
            "SONDREL_MIXER_STATE=" + (work / "mixer-state").string(),
            "SONDREL_DRIVES=" + (work / "drives").string(),
            "SONDREL_REGISTRY=" + (work / "registry.ini").string()};
}

void Run(benchmark::State& state, const char* program) {
    const std::vector<std::string> environment = Environment();
    for (auto _ : state) {
        if (!RunProgram(program, environment)) {
            state.SkipWithError("the program did not end with status 0");
            return;
        }
    }
}

void BM_SondrelWindowShown(benchmark::State& state) {
    Run(state, SONDREL_PROGRAM);
}

void BM_BareQtDialogShown(benchmark::State& state) {
    Run(state, BARE_DIALOG_PROGRAM);
}

} // namespace

BENCHMARK(BM_BareQtDialogShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(10));
BENCHMARK(BM_SondrelWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(10));
BENCHMARK_MAIN();
