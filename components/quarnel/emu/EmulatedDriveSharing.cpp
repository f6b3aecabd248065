// The emulated drive among several processes: the writer's lock, and the
// disc state other processes wrote.
#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"

namespace quarnel::emu {

namespace {

bool DiscIn(const DiscState& state) {
    return state.HasMedium() && !state.trayOpen;
}

} // namespace

bool EmulatedDrive::SetExclusive(bool exclusive) {
    const std::lock_guard lock(m_mutex);
    if (!exclusive) {
        m_lock.Release();
        return true;
    }
    return m_lock.Take();
}

bool EmulatedDrive::InUseElsewhere() {
    const std::lock_guard lock(m_mutex);
    return m_lock.HeldElsewhere();
}

void EmulatedDrive::Refresh() {
    {
        const std::lock_guard lock(m_mutex);
        RefreshFromFiles();
    }
    DeliverEvents();
}

void EmulatedDrive::NoteStateFile() {
    m_stateStamp = StampOf(m_folder / kDiscStateFileName);
}

void EmulatedDrive::RefreshFromFiles() {
    const std::optional<FileStamp> stamp = StampOf(m_folder / kDiscStateFileName);
    if (stamp == m_stateStamp) {
        return;
    }
    DiscState state;
    if (stamp) {
        const std::optional<std::string> text = ReadWholeFile(m_folder / kDiscStateFileName);
        std::optional<DiscState> parsed = text ? ParseDiscState(*text) : std::nullopt;
        if (!parsed) {
            return; // half a change: the next look finds the whole file
        }
        state = std::move(*parsed);
    }
    const std::string before = FormatDiscState(m_state);
    const bool wasIn = DiscIn(m_state);
    m_stateStamp = stamp;
    m_state = std::move(state);
    // The other process may have put a new image in place.
    static_cast<void>(m_image.Open(m_folder / kDiscImageFileName));
    RecoverOpenTrack();
    m_busy = {};
    m_buffer.EndStream();
    const bool isIn = DiscIn(m_state);
    if (wasIn && (!isIn || FormatDiscState(m_state) != before)) {
        QueueEvent(DiscEventKind::Removed);
    }
    if (isIn && (!wasIn || FormatDiscState(m_state) != before)) {
        QueueEvent(DiscEventKind::Arrived);
    }
}

} // namespace quarnel::emu
