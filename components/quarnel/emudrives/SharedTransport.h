#pragma once
// A transport shared between its owner and a drive list: the drive list may
// be rebuilt or dropped while the owner keeps using the same drive object.

#include "components/quarnel/Transport.h"

#include <memory>

namespace quarnel {

class SharedTransport final : public Transport {
public:
    explicit SharedTransport(std::shared_ptr<Transport> transport, int keptDeviceId = 0);

    CommandOutcome Execute(const Command& command) override;
    [[nodiscard]] std::string Name() const override;
    bool SetExclusive(bool exclusive) override;
    [[nodiscard]] int KeptDeviceId() const override { return m_keptDeviceId; }

private:
    std::shared_ptr<Transport> m_transport;
    int m_keptDeviceId;
};

} // namespace quarnel
