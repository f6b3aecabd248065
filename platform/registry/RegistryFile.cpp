#include "platform/registry/RegistryFile.h"

#include "platform/profile/ProfileFileIo.h"
#include "platform/registry/RegistryFileLock.h"
#include "util/Environment.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

RegistryFile::RegistryFile(std::filesystem::path path) : m_path(std::move(path)) {}

RegistryFile RegistryFile::FromEnvironment() {
    if (std::string chosen = util::EnvironmentValue("SONDREL_REGISTRY"); !chosen.empty()) {
        return RegistryFile(std::move(chosen));
    }
    return RegistryFile(util::UserConfigFolder() / "registry.ini");
}

RegistryDocument RegistryFile::Read() const {
    RegistryDocument document;
    Load(document);
    return document;
}

bool RegistryFile::Load(RegistryDocument& document) const {
    std::string bytes;
    const ProfileFileState state = ReadProfileFile(m_path.string(), bytes);
    if (state == ProfileFileState::kRead) {
        document = RegistryDocument::Parse(bytes);
    }
    return state != ProfileFileState::kUnusable;
}

LSTATUS RegistryFile::Update(const std::function<bool(RegistryDocument&)>& change) const {
    std::error_code error;
    if (m_path.has_parent_path()) {
        std::filesystem::create_directories(m_path.parent_path(), error);
        if (error) {
            return ERROR_ACCESS_DENIED;
        }
    }
    const RegistryFileLock lock(m_path);
    if (!lock.Held()) {
        return ERROR_ACCESS_DENIED;
    }
    RegistryDocument document;
    if (!Load(document)) {
        return ERROR_ACCESS_DENIED;
    }
    if (!change(document)) {
        return ERROR_SUCCESS;
    }
    return Replace(document.Text()) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

namespace {

// Links are followed at most this deep; a loop ends here.
constexpr int kMaxLinkDepth = 40;

// The file a write replaces: the end of the chain of links at `path`, so that
// a settings file kept elsewhere and linked to stays where it is.
std::filesystem::path WriteTarget(std::filesystem::path path) {
    std::error_code error;
    for (int depth = 0; depth < kMaxLinkDepth && std::filesystem::is_symlink(path, error);
         ++depth) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

} // namespace

bool RegistryFile::Replace(const std::string& text) const {
    const std::filesystem::path target = WriteTarget(m_path);
    std::string temporary = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    // Settings are rare and small: flush them before the rename makes them current.
    const bool complete = done == text.size() && ::fdatasync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (complete && closed && ::rename(temporary.c_str(), target.c_str()) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace platform
