#pragma once
// The encoder's output as a plain file on disk, written with POSIX calls.
// Each append goes straight to the system, so a program that is killed
// leaves every frame appended so far in the file.

#include "components/vesplin/IEncodeOutput.h"

namespace vesplin {

class EncodeFile : public IEncodeOutput {
public:
    EncodeFile() = default;
    ~EncodeFile() override;
    EncodeFile(const EncodeFile&) = delete;
    EncodeFile& operator=(const EncodeFile&) = delete;

    bool Create(const std::string& path) override;
    // A write that stops part-way (a full disk) is cut back with ftruncate,
    // so the file never ends in half an append.
    bool Append(const std::uint8_t* data, std::size_t size) override;
    bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override;
    bool Close() override;

private:
    int m_fd = -1;
    std::uint64_t m_lengthBytes = 0;
};

} // namespace vesplin
