#pragma once
// Installs a message box host for the lifetime of this object and puts the
// previous one back afterwards.

#include "util/IMessageBoxHost.h"

namespace testsupport {

class ScopedMessageBoxHost {
public:
    explicit ScopedMessageBoxHost(util::IMessageBoxHost& host);
    ~ScopedMessageBoxHost();

    ScopedMessageBoxHost(const ScopedMessageBoxHost&) = delete;
    ScopedMessageBoxHost& operator=(const ScopedMessageBoxHost&) = delete;

private:
    util::IMessageBoxHost* m_previous = nullptr;
};

} // namespace testsupport
