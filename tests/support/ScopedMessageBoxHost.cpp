#include "tests/support/ScopedMessageBoxHost.h"

#include "util/MessageBox.h"

namespace testsupport {

ScopedMessageBoxHost::ScopedMessageBoxHost(util::IMessageBoxHost& host)
    : m_previous(util::SetMessageBoxHost(&host)) {}

ScopedMessageBoxHost::~ScopedMessageBoxHost() {
    util::SetMessageBoxHost(m_previous);
}

} // namespace testsupport
