#pragma once
// One drive: the reading and tray commands every CD/DVD drive understands.
// Every operation builds its command block, runs it through the drive's
// transport and parses the reply; the status is 0 on success (DeviceStatus.h
// for the rest). The sense data of the last command stay with the drive.
// Commands of one drive are serialised, so threads may share it.

#include "components/quarnel/Transport.h"
#include "components/quarnel/device/DeviceEnums.h"
#include "components/quarnel/device/DeviceRecords.h"
#include "components/quarnel/device/FsCdTextInfo.h"
#include "components/quarnel/mmc/CapabilitiesPage.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace quarnel {

class CDevCmdROM {
public:
    static constexpr std::uint32_t kAudioSectorBytes = 2352;

    CDevCmdROM(std::unique_ptr<Transport> transport, int deviceId);
    CDevCmdROM(const CDevCmdROM&) = delete;
    CDevCmdROM& operator=(const CDevCmdROM&) = delete;
    virtual ~CDevCmdROM();

    // The drive letter's index (3 = D); 0 when the drive has no letter.
    [[nodiscard]] int GetDeviceID() const { return m_deviceId; }
    [[nodiscard]] std::string GetDeviceName() const { return m_transport->Name(); }

    std::uint32_t Inquiry(INQUIRYDATA& data);
    // Copies the current mode page pageCode (from its page-code byte on) into
    // buffer, at most length bytes; sense receives the command's sense data.
    // deviceId is this drive's ID; another value is refused.
    std::uint32_t GetParamPage(unsigned char* buffer, int length, int deviceId,
                               SenseData_tag& sense, int pageCode);
    std::uint32_t TestUnitReady();
    [[nodiscard]] CD_DEV_TYPE GetDevType();
    // MEDIUM_NONE when there is no disc or the drive cannot say.
    [[nodiscard]] MEDIUM_TYPE GetMediumType();

    // READ TOC/PMA/ATIP of format 0, 2 or 5 into buffer (at most length
    // bytes), checked to be of that format. ReadToc asks once with the whole
    // buffer; ReadTocEx first reads the header and then exactly the length it
    // announces, for drives that refuse allocation lengths beyond the reply.
    std::uint32_t ReadToc(unsigned char* buffer, long length, int format, int trackOrSession);
    std::uint32_t ReadTocEx(unsigned char* buffer, long length, int format, int trackOrSession);
    std::uint32_t GetCDText(FS_CDTEXT_INFO& info);
    std::uint32_t ReadDiscInfo(DISC_INFO& info);
    std::uint32_t ReadTrackInfoEx(TRACK_INFO& info, READ_TRACK_INFO_TYPE type, long number);
    // count raw CD-DA sectors of 2,352 bytes from address; length must hold them.
    std::uint32_t ReadCD_All(unsigned char* buffer, long length, int count, unsigned long address);
    // Reads from now on at the lowest speed (1x), where a damaged disc reads
    // best, or (false) as fast as the drive can.
    std::uint32_t SetLowestReadSpeed(bool lowest);

    // true opens the tray, false closes it.
    std::uint32_t Eject(bool open);
    // Prevents (true) or allows (false) removing the disc.
    std::uint32_t Lock(bool lock);
    // Takes the drive for this program alone (true) or gives it back.
    std::uint32_t LockVolumn(bool lock);

    [[nodiscard]] SenseData_tag GetLastSense() const;
    // The capabilities page 2Ah, decoded.
    std::uint32_t GetCapabilities(Capabilities& caps);

protected:
    // Runs one command; the reply (FromDevice) is cut to the bytes that
    // arrived. Keeps the sense, fetching it with REQUEST SENSE when the
    // transport brought none back.
    std::uint32_t Run(const CommandBlock& block, DataDirection direction,
                      std::vector<std::uint8_t>& data);
    std::uint32_t Run(const CommandBlock& block);
    std::uint32_t Send(const CommandBlock& block, std::span<std::uint8_t> data);
    // The raw bytes of a current mode page.
    std::uint32_t ReadModePage(std::uint8_t pageCode, std::vector<std::uint8_t>& page);

private:
    // Runs a command whose reply parse turns into record; record is written
    // only when the reply parses.
    template <typename Record, typename Parser>
    std::uint32_t ReadRecord(const CommandBlock& block, std::uint16_t allocation, Parser parse,
                             Record& record);
    // Every command waits up to 20 s while the drive reports "becoming ready"
    // (2/04/01), as after a disc was loaded.
    std::uint32_t Execute(const Command& command, std::uint32_t& transferred);
    std::uint32_t ExecuteOnce(const Command& command, std::uint32_t& transferred);
    SenseData RequestSense();
    // One READ TOC of the given allocation length, checked to be of format.
    std::uint32_t ReadTocChecked(int format, int trackOrSession, std::uint16_t allocation,
                                 std::vector<std::uint8_t>& reply);
    // The header first, then the length it announces (at most maxLength).
    std::uint32_t ReadTocTwoStep(int format, int trackOrSession, long maxLength,
                                 std::vector<std::uint8_t>& reply);

    std::unique_ptr<Transport> m_transport;
    const int m_deviceId;
    mutable std::mutex m_mutex; // one command at a time; guards m_lastSense
    SenseData m_lastSense;
};

} // namespace quarnel
