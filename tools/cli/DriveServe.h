#pragma once
// sondrel-cli drive serve D: the emulated writer D as a device node that
// standard disc programs open through the device preload library.

#include <span>
#include <string_view>

namespace cli {

int RunDriveServe(std::span<const std::string_view> args);

} // namespace cli
