#pragma once
// The program folder: the folder the program reads its shipped files from
// (SoftSet.ini, Lang/, the help files), with a trailing '/'. In a build folder
// it is the folder of the running executable, which holds those files too. In
// an installed program (`<prefix>/bin/` beside `<prefix>/share/sondrel/`) it is
// `<prefix>/share/sondrel/`; the shared objects it loads are then in
// `<prefix>/lib/sondrel/`, and nothing it writes goes into either folder.

#include <string>

namespace util {

// Zeroes `buffer` over `sizeBytes`, then stores the folder there. Returns 0, or
// the system error code when the executable's path cannot be read (ERANGE when
// the buffer is too small).
int GetModuleFolder(char* buffer, unsigned sizeBytes);

// The folder as text; empty when the executable's path cannot be read.
std::string GetModuleFolder();

// The folder of the running executable, ending in '/'; empty when unknown.
std::string ExecutableFolder();

// Whether the running program is an installed one (see above).
bool ProgramInstalled();

// The folder of the shared objects the program loads or hands out
// (libtrindle.so, libsondrel-device.so), ending in '/'.
std::string ProgramLibraryFolder();

// The folder the program keeps the files it downloads in (the update files,
// the banner's showinfo/), ending in '/': the program folder in a build folder,
// the user's data folder (not created here) when installed.
std::string ProgramWorkFolder();

// The SoftSet.ini read for `programFolder`: the user's own copy in the user's
// settings folder when `programFolder` is the installed program's folder and
// that copy exists, else the one in `programFolder`.
std::string SettingsFile(const std::string& programFolder);

} // namespace util
