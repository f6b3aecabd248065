#include "tests/support/ScopedRegistryFile.h"

#include <cstdlib>

namespace testsupport {

namespace {

constexpr const char* kVariable = "SONDREL_REGISTRY";

} // namespace

ScopedRegistryFile::ScopedRegistryFile() : m_path(m_folder.File("registry.ini")) {
    // Tests change the environment only from their main thread, before any
    // thread that reads it starts.
    if (const char* previous = std::getenv(kVariable)) { // NOLINT(concurrency-mt-unsafe)
        m_previous = previous;
    }
    Use(m_path);
}

ScopedRegistryFile::~ScopedRegistryFile() {
    if (m_previous) {
        Use(*m_previous);
    } else {
        ::unsetenv(kVariable); // NOLINT(concurrency-mt-unsafe)
    }
}

void ScopedRegistryFile::Use(const std::string& path) {
    ::setenv(kVariable, path.c_str(), 1); // NOLINT(concurrency-mt-unsafe)
}

} // namespace testsupport
