#include "components/quarnel/device/DriveProviders.h"

#include "components/quarnel/sg/DriveDiscovery.h"
#include "components/quarnel/sg/SgTransport.h"

#include <mutex>

namespace quarnel {

namespace {

std::mutex g_providersMutex;
std::vector<DriveProvider> g_providers;

} // namespace

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
    for (const DriveProvider& provider : providers) {
        if (!provider) {
            continue;
        }
        for (auto& transport : provider()) {
            if (transport) {
                drives.push_back(std::move(transport));
            }
        }
    }
    return drives;
}

} // namespace quarnel
