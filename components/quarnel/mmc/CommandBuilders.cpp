#include "components/quarnel/mmc/CommandBuilders.h"

#include "components/quarnel/MmcOpcodes.h"
#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel::cdb {

namespace {

CommandBlock Make(std::uint8_t opcode, std::uint8_t length) {
    CommandBlock block;
    block.bytes[0] = opcode;
    block.length = length;
    return block;
}

std::span<std::uint8_t> Bytes(CommandBlock& block) {
    return {block.bytes.data(), block.length};
}

constexpr std::uint8_t Flag(bool on, std::uint8_t mask) {
    return on ? mask : 0;
}

} // namespace

CommandBlock TestUnitReady() {
    return Make(op::kTestUnitReady, 6);
}

CommandBlock RequestSense(std::uint8_t allocationLength) {
    CommandBlock block = Make(op::kRequestSense, 6);
    block.bytes[4] = allocationLength;
    return block;
}

CommandBlock Inquiry(std::uint8_t allocationLength) {
    CommandBlock block = Make(op::kInquiry, 6);
    block.bytes[4] = allocationLength;
    return block;
}

CommandBlock ModeSense10(std::uint8_t pageCode, std::uint16_t allocationLength) {
    CommandBlock block = Make(op::kModeSense10, 10);
    block.bytes[1] = 0x08; // DBD: no block descriptors (the parser skips them anyway)
    block.bytes[2] = static_cast<std::uint8_t>(pageCode & 0x3F); // PC 00b: current values
    PutBe16(Bytes(block), 7, allocationLength);
    return block;
}

CommandBlock ModeSelect10(std::uint16_t parameterLength) {
    CommandBlock block = Make(op::kModeSelect10, 10);
    block.bytes[1] = 0x10; // PF
    PutBe16(Bytes(block), 7, parameterLength);
    return block;
}

CommandBlock GetConfiguration(std::uint16_t startFeature, std::uint16_t allocationLength) {
    CommandBlock block = Make(op::kGetConfiguration, 10);
    block.bytes[1] = 0x02; // RT 10b: just the starting feature
    PutBe16(Bytes(block), 2, startFeature);
    PutBe16(Bytes(block), 7, allocationLength);
    return block;
}

CommandBlock ReadDiscInformation(std::uint16_t allocationLength) {
    CommandBlock block = Make(op::kReadDiscInformation, 10);
    PutBe16(Bytes(block), 7, allocationLength);
    return block;
}

CommandBlock ReadTrackInformation(TrackAddressType type, std::uint32_t number,
                                  std::uint16_t allocationLength) {
    CommandBlock block = Make(op::kReadTrackInformation, 10);
    block.bytes[1] = static_cast<std::uint8_t>(type);
    PutBe32(Bytes(block), 2, number);
    PutBe16(Bytes(block), 7, allocationLength);
    return block;
}

CommandBlock ReadTocPmaAtip(TocFormat format, bool msf, std::uint8_t trackOrSession,
                            std::uint16_t allocationLength) {
    CommandBlock block = Make(op::kReadTocPmaAtip, 10);
    block.bytes[1] = Flag(msf, 0x02);
    block.bytes[2] = static_cast<std::uint8_t>(format);
    block.bytes[6] = trackOrSession;
    PutBe16(Bytes(block), 7, allocationLength);
    return block;
}

CommandBlock ReadCdAudio(std::uint32_t lba, std::uint32_t blocks) {
    CommandBlock block = Make(op::kReadCd, 12);
    block.bytes[1] = 0x01 << 2; // expected sector type: CD-DA
    PutBe32(Bytes(block), 2, lba);
    PutBe24(Bytes(block), 6, blocks);
    block.bytes[9] = 0x10; // user data
    return block;
}

CommandBlock Write10(std::uint32_t lba, std::uint16_t blocks) {
    CommandBlock block = Make(op::kWrite10, 10);
    PutBe32(Bytes(block), 2, lba);
    PutBe16(Bytes(block), 7, blocks);
    return block;
}

CommandBlock SynchronizeCache(bool immediate) {
    CommandBlock block = Make(op::kSynchronizeCache, 10);
    block.bytes[1] = Flag(immediate, 0x02);
    return block;
}

CommandBlock CloseTrackSession(CloseFunction function, std::uint16_t number, bool immediate) {
    CommandBlock block = Make(op::kCloseTrackSession, 10);
    block.bytes[1] = Flag(immediate, 0x01);
    block.bytes[2] = static_cast<std::uint8_t>(function);
    PutBe16(Bytes(block), 4, number);
    return block;
}

CommandBlock Blank(std::uint8_t blankingType, bool immediate) {
    CommandBlock block = Make(op::kBlank, 12);
    block.bytes[1] = static_cast<std::uint8_t>(Flag(immediate, 0x10) | (blankingType & 0x07));
    return block;
}

CommandBlock FormatUnit() {
    CommandBlock block = Make(op::kFormatUnit, 6);
    block.bytes[1] = 0x11; // FmtData, format code 001b
    return block;
}

std::array<std::uint8_t, kFormatParameterLength> FormatUnitParameters(std::uint32_t blocks,
                                                                      std::uint8_t formatType,
                                                                      std::uint32_t typeParameter,
                                                                      bool immediate) {
    std::array<std::uint8_t, kFormatParameterLength> list{};
    // Immed without FOV, as DVD+RW formatting programs send it: FOV would
    // make the drive take the other option bits of the header as given.
    list[1] = Flag(immediate, 0x02);
    PutBe16(list, 2, 8); // descriptor length
    PutBe32(list, 4, blocks);
    PutBe32(list, 8, typeParameter & 0x00FFFFFF);
    list[8] = static_cast<std::uint8_t>(formatType << 2);
    return list;
}

CommandBlock PreventAllowMediumRemoval(bool prevent) {
    CommandBlock block = Make(op::kPreventAllowMediumRemoval, 6);
    block.bytes[4] = Flag(prevent, 0x01);
    return block;
}

CommandBlock StartStopUnit(TrayAction action, bool immediate) {
    CommandBlock block = Make(op::kStartStopUnit, 6);
    block.bytes[1] = Flag(immediate, 0x01);
    block.bytes[4] = static_cast<std::uint8_t>(action);
    return block;
}

CommandBlock SetCdSpeed(std::uint16_t readKBytesPerSecond, std::uint16_t writeKBytesPerSecond) {
    CommandBlock block = Make(op::kSetCdSpeed, 12);
    PutBe16(Bytes(block), 2, readKBytesPerSecond);
    PutBe16(Bytes(block), 4, writeKBytesPerSecond);
    return block;
}

} // namespace quarnel::cdb
