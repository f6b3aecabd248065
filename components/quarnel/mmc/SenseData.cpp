#include "components/quarnel/mmc/SenseData.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel {

namespace {

constexpr std::uint8_t kDescriptorSenseKeySpecific = 0x02;

// Bytes the sense data itself says it holds, but never more than were delivered.
std::span<const std::uint8_t> Declared(std::span<const std::uint8_t> bytes) {
    const std::size_t declared = std::size_t{8} + GetU8(bytes, 7);
    return bytes.first(std::min(bytes.size(), declared));
}

// Progress indication of a sense-key specific field (3 bytes: SKSV, then the count).
void TakeProgress(SenseData& data, std::span<const std::uint8_t> field) {
    if (field.size() < 3 || (field[0] & 0x80) == 0) {
        return;
    }
    if (data.key == sense::kKeyNotReady || data.key == sense::kKeyNoSense) {
        data.progressValid = true;
        data.progress = GetBe16(field, 1);
    }
}

void DecodeFixed(SenseData& data, std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 3) {
        return;
    }
    data.valid = true;
    data.key = bytes[2] & 0x0F;
    // Code and qualifier are taken from what arrived even when the
    // additional length understates it, as some ATAPI drives do.
    data.asc = GetU8(bytes, 12);
    data.ascq = GetU8(bytes, 13);
    const std::span<const std::uint8_t> declared = Declared(bytes);
    if (declared.size() >= 18) {
        TakeProgress(data, declared.subspan(15, 3));
    }
}

void DecodeDescriptors(SenseData& data, std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) {
        return;
    }
    data.valid = true;
    data.key = bytes[1] & 0x0F;
    data.asc = GetU8(bytes, 2);
    data.ascq = GetU8(bytes, 3);
    const std::span<const std::uint8_t> declared = Declared(bytes);
    std::size_t at = 8;
    while (at + 2 <= declared.size()) {
        const std::size_t length = std::size_t{2} + declared[at + 1];
        if (at + length > declared.size()) {
            break;
        }
        if (declared[at] == kDescriptorSenseKeySpecific && length >= 7) {
            TakeProgress(data, declared.subspan(at + 4, 3));
        }
        at += length;
    }
}

} // namespace

SenseData DecodeSense(std::span<const std::uint8_t> bytes) {
    SenseData data;
    if (bytes.empty()) {
        return data;
    }
    data.responseCode = bytes[0] & 0x7F;
    switch (data.responseCode) {
    case 0x70:
    case 0x71:
        data.deferred = data.responseCode == 0x71;
        DecodeFixed(data, bytes);
        break;
    case 0x72:
    case 0x73:
        data.deferred = data.responseCode == 0x73;
        DecodeDescriptors(data, bytes);
        break;
    default:
        break;
    }
    return data;
}

} // namespace quarnel
