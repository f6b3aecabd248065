#include "components/quarnel/device/DriveProviders.h"

#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/sg/DriveDiscovery.h"
#include "components/quarnel/sg/SgTransport.h"

#include <mutex>

namespace quarnel {

namespace {

std::mutex g_providersMutex;
std::vector<DriveProvider> g_providers;

// Lends a drive's transport to a short-lived probe without giving it away.
class BorrowedTransport final : public Transport {
public:
    explicit BorrowedTransport(Transport& transport) : m_transport(transport) {}
    CommandOutcome Execute(const Command& command) override { return m_transport.Execute(command); }
    [[nodiscard]] std::string Name() const override { return m_transport.Name(); }

private:
    Transport& m_transport;
};

} // namespace

bool ProbeWriter(Transport& transport) {
    CDevCmdROM probe(std::make_unique<BorrowedTransport>(transport), 0);
    Capabilities caps;
    return probe.GetCapabilities(caps) != status::kOk || caps.CanWrite();
}

void RegisterDriveProvider(DriveProvider provider) {
    const std::lock_guard lock(g_providersMutex);
    g_providers.push_back(std::move(provider));
}

std::vector<DriveProvider> RegisteredDriveProviders() {
    const std::lock_guard lock(g_providersMutex);
    return g_providers;
}

std::vector<std::unique_ptr<Transport>> CollectDrives(const std::filesystem::path& sysfsRoot,
                                                      const std::vector<DriveProvider>& providers) {
    std::vector<std::unique_ptr<Transport>> drives;
    for (const std::string& node : FindOpticalDrives(sysfsRoot)) {
        if (auto transport = SgTransport::Open(node)) {
            drives.push_back(std::move(transport));
        }
    }
    bool writerListed = false;
    std::size_t probed = 0;
    for (const DriveProvider& provider : providers) {
        if (!provider) {
            continue;
        }
        for (; probed < drives.size() && !writerListed; ++probed) {
            writerListed = ProbeWriter(*drives[probed]);
        }
        for (auto& transport : provider(writerListed)) {
            if (transport) {
                drives.push_back(std::move(transport));
            }
        }
    }
    return drives;
}

} // namespace quarnel
