#include "components/quarnel/emudrives/EmulatedDriveProvider.h"

#include "components/quarnel/device/DriveProviders.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "components/quarnel/emudrives/SharedTransport.h"
#include "util/Environment.h"

#include <algorithm>

namespace quarnel {

std::optional<std::filesystem::path> EmulatedDriveProvider::ParentFromEnvironment() {
    if (util::EnvironmentValue("SONDREL_DRIVES") == kNoDrives) {
        return std::nullopt;
    }
    return emu::DefaultDrivesParent();
}

EmulatedDriveProvider::EmulatedDriveProvider(std::optional<std::filesystem::path> parent,
                                             std::shared_ptr<emu::Clock> clock)
    : m_parent(std::move(parent)), m_clock(std::move(clock)) {}

EmulatedDriveProvider::~EmulatedDriveProvider() {
    m_watch.reset(); // no more refreshes from its thread
    // Drive lists may keep the drives longer than this provider lives.
    for (const auto& [name, drive] : m_drives) {
        drive->RemoveListener(this);
    }
}

std::shared_ptr<emu::EmulatedDrive>
EmulatedDriveProvider::OpenDrive(const std::filesystem::path& folder) {
    if (const auto known = m_drives.find(folder.string()); known != m_drives.end()) {
        return known->second;
    }
    std::string error;
    std::shared_ptr<emu::EmulatedDrive> drive = emu::EmulatedDrive::Open(folder, m_clock, &error);
    if (!drive) {
        m_problems.push_back(error);
        return nullptr;
    }
    drive->AddListener(this);
    m_drives.emplace(drive->Name(), drive);
    if (m_watch) {
        m_watch->Add(folder);
    }
    return drive;
}

std::vector<std::unique_ptr<Transport>> EmulatedDriveProvider::Drives(bool writerListed) {
    std::vector<std::unique_ptr<Transport>> transports;
    if (!m_parent) {
        return transports;
    }
    const std::lock_guard lock(m_mutex);
    m_problems.clear();
    std::vector<std::filesystem::path> folders = emu::ListDriveFolders(*m_parent);
    if (folders.empty() && !writerListed) {
        std::string error;
        folders = emu::EnsureDefaultDrive(*m_parent, &error);
        if (folders.empty()) {
            m_problems.push_back(error);
        }
    }
    const std::vector<int> letters = emu::KeepDriveLetters(folders);
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (std::shared_ptr<emu::EmulatedDrive> drive = OpenDrive(folders[i])) {
            transports.push_back(std::make_unique<SharedTransport>(std::move(drive), letters[i]));
        }
    }
    return transports;
}

emu::EmulatedDrive* EmulatedDriveProvider::Find(const CDevCmdROM& device) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_drives.find(device.GetDeviceName());
    return found == m_drives.end() ? nullptr : found->second.get();
}

void EmulatedDriveProvider::AddListener(emu::DiscEventListener* listener) {
    const std::lock_guard lock(m_mutex);
    m_listeners.push_back(listener);
    if (!m_watch) {
        m_watch = std::make_unique<DriveFolderWatch>(
            [this](const std::filesystem::path& folder) { Refresh(folder); });
        for (const auto& [name, drive] : m_drives) {
            m_watch->Add(name);
        }
    }
}

void EmulatedDriveProvider::Refresh(const std::filesystem::path& folder) {
    std::shared_ptr<emu::EmulatedDrive> drive;
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_drives.find(folder.string());
        if (found == m_drives.end()) {
            return;
        }
        drive = found->second;
    }
    drive->Refresh(); // its events come back through OnDiscEvent
}

void EmulatedDriveProvider::RemoveListener(emu::DiscEventListener* listener) {
    const std::lock_guard lock(m_mutex);
    std::erase(m_listeners, listener);
}

std::vector<std::string> EmulatedDriveProvider::Problems() const {
    const std::lock_guard lock(m_mutex);
    return m_problems;
}

void EmulatedDriveProvider::OnDiscEvent(const emu::DiscEvent& event) {
    std::vector<emu::DiscEventListener*> listeners;
    {
        const std::lock_guard lock(m_mutex);
        listeners = m_listeners;
    }
    for (emu::DiscEventListener* listener : listeners) {
        listener->OnDiscEvent(event);
    }
}

EmulatedDriveProvider& RegisterEmulatedDrives() {
    static EmulatedDriveProvider s_provider(EmulatedDriveProvider::ParentFromEnvironment(),
                                            std::make_shared<emu::SteadyClock>());
    static const bool s_registered = [] {
        RegisterDriveProvider([](bool writerListed) { return s_provider.Drives(writerListed); });
        return true;
    }();
    static_cast<void>(s_registered);
    return s_provider;
}

} // namespace quarnel
