#include "platform/mixer/Environment.h"

#include <cstdlib>

std::string environmentValue(const char* name) {
    // The program never changes its environment, so reading it from any thread is safe.
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe)
    return value == nullptr ? std::string() : std::string(value);
}
