#pragma once
// Names for temporary files in the system's temporary folder.

#include <string>

namespace util {

// A full path "<temporary folder>/Temp<number>.<extension>" naming no existing
// file; the file is not created. The number is the first value of the classic
// C runtime random sequence seeded with a process-wide counter that starts at
// 1000, so the names of one run follow a fixed series of seeds. The folder is
// $TMPDIR when that is a directory, else /tmp. Returns empty text when there
// is no temporary folder or every candidate name is taken.
std::string MakeTempFileName(const std::string& extension);

} // namespace util
