#include "components/quarnel/emudrives/SharedTransport.h"

namespace quarnel {

SharedTransport::SharedTransport(std::shared_ptr<Transport> transport, int keptDeviceId)
    : m_transport(std::move(transport)), m_keptDeviceId(keptDeviceId) {}

CommandOutcome SharedTransport::Execute(const Command& command) {
    return m_transport->Execute(command);
}

std::string SharedTransport::Name() const {
    return m_transport->Name();
}

bool SharedTransport::SetExclusive(bool exclusive) {
    return m_transport->SetExclusive(exclusive);
}

} // namespace quarnel
