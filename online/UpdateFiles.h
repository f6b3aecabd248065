#pragma once
// The names of the update's files, in the program folder and on the server
// (under "/update/" + the product's folder). Program files carry no ".exe" on
// Linux, so the updater is "update"; the folder where waiting updates are
// kept cannot then be called "update" as well and is "update.d".

namespace online {

inline constexpr const char* kUpdaterFile = "update";
inline constexpr const char* kUpdateDescriptionFile = "update.ini";
inline constexpr const char* kVersionFile = "filever.ini";
inline constexpr const char* kWaitingUpdateFolder = "update.d";

} // namespace online
