// Cost of one text look-up against its peer, reading the same language file
// without parsing it. The ratio is the price of the INI parsing; the full
// look-up (three files read and parsed) shows what one label or message costs.
#include "lang/LanguageFiles.h"
#include "platform/profile/ProfileFileIo.h"
#include "platform/profile/ProfileString.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const std::string g_programFolder = std::string(SONDREL_PROGRAM_DIR) + "/";
const std::string g_languageFile = g_programFolder + "Lang/eng.ini";

void BM_ReadLanguageFileOnly(benchmark::State& state) {
    std::string bytes;
    for (auto _ : state) {
        platform::ReadProfileFile(g_languageFile, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ReadLanguageFileOnly);

void BM_ProfileStringFromLanguageFile(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            platform::GetPrivateProfileString("Tip", "19", "", g_languageFile));
    }
}
BENCHMARK(BM_ProfileStringFromLanguageFile);

void BM_LangStringThroughSettings(benchmark::State& state) {
    const lang::LanguageFiles files(g_programFolder);
    for (auto _ : state) {
        benchmark::DoNotOptimize(files.LangString("Tip", 19));
    }
}
BENCHMARK(BM_LangStringThroughSettings);

} // namespace

BENCHMARK_MAIN();
