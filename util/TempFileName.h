#pragma once
// Temporary files in the system's temporary folder.

#include <string>

namespace util {

// Creates an empty file "<temporary folder>/Temp<number>.<extension>" that
// only its owner may read and write, and returns its full path. The file is
// created exclusively and never through a link, so nobody can have put
// anything under the name beforehand. The number is the first value of the classic
// C runtime random sequence seeded with a process-wide counter that starts at
// 1000, so the names of one run follow a fixed series of seeds; a name that
// is taken is skipped. The folder is $TMPDIR when that is a directory, else
// /tmp. Returns empty text when there is no temporary folder, every candidate
// name is taken or the file cannot be created.
std::string CreateTempFile(const std::string& extension);

} // namespace util
