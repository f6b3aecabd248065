#pragma once
// An Internet handle that closes itself.

#include "online/InternetApi.h"

#include <utility>

namespace online {

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : m_handle(handle) {}
    ~InternetHandle() { Close(); }
    InternetHandle(InternetHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    void Close() {
        if (m_handle != nullptr) {
            InternetCloseHandle(std::exchange(m_handle, nullptr));
        }
    }

private:
    HINTERNET m_handle = nullptr;
};

} // namespace online
