#pragma once
// The emulated writers of the drive list: every drive folder under one parent
// folder, by folder name, so that the drives keep their letters from run to
// run (the machine's own drives come first). When the list would hold no
// writer at all, the first start creates one emulated writer with a blank
// CD-R, so that recording to CD works out of the box.
//
// The provider owns the drive objects; drive lists share them, so a drive
// has one object per process however often the list is built. Disc arrival
// and removal in any of its drives reach the listeners added here.

#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/emu/Clock.h"
#include "components/quarnel/emu/DiscEventListener.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emudrives/DriveFolderWatch.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quarnel {

class EmulatedDriveProvider final : public emu::DiscEventListener {
public:
    // SONDREL_DRIVES set to this switches emulated drives off.
    static constexpr const char* kNoDrives = "none";

    // The drives folder the environment names (DefaultDrivesParent), or
    // nullopt when SONDREL_DRIVES is "none".
    [[nodiscard]] static std::optional<std::filesystem::path> ParentFromEnvironment();

    // parent nullopt: a provider without drives.
    EmulatedDriveProvider(std::optional<std::filesystem::path> parent,
                          std::shared_ptr<emu::Clock> clock);
    ~EmulatedDriveProvider() override;

    // The drives for a drive list, by folder name; creates the default writer
    // first when there is no drive folder and writerListed is false.
    std::vector<std::unique_ptr<Transport>> Drives(bool writerListed);

    // The emulated drive behind a device of a drive list; null for a real drive.
    [[nodiscard]] emu::EmulatedDrive* Find(const CDevCmdROM& device) const;

    // Listeners hear disc events of every drive, on the thread that caused
    // them. With the first listener the provider starts watching its drive
    // folders, so that discs loaded, ejected, erased or written by other
    // processes are heard too (on the watch's thread).
    void AddListener(emu::DiscEventListener* listener);
    void RemoveListener(emu::DiscEventListener* listener);

    // Why drive folders were left out of the last list, or the default writer
    // could not be made; one line each.
    [[nodiscard]] std::vector<std::string> Problems() const;

    void OnDiscEvent(const emu::DiscEvent& event) override;

private:
    // Takes up the disc state another process wrote into a drive folder.
    void Refresh(const std::filesystem::path& folder);
    // The drive of a folder, opened on first use. Null when it cannot be opened.
    std::shared_ptr<emu::EmulatedDrive> OpenDrive(const std::filesystem::path& folder);

    const std::optional<std::filesystem::path> m_parent;
    const std::shared_ptr<emu::Clock> m_clock;
    mutable std::mutex m_mutex;                                          // guards the members below
    std::map<std::string, std::shared_ptr<emu::EmulatedDrive>> m_drives; // by Name()
    std::vector<emu::DiscEventListener*> m_listeners;
    std::vector<std::string> m_problems;
    // Last member: its thread ends before the drives go.
    std::unique_ptr<DriveFolderWatch> m_watch;
};

// Registers, once per process, a provider for the drives folder of the
// environment and returns it; it lives until the process ends.
EmulatedDriveProvider& RegisterEmulatedDrives();

} // namespace quarnel
