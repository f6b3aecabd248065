#pragma once
// The pre-record a take begins with, as the program folder's SoftSet.ini sets
// it: [Record] PreRecordSeconds=, whole seconds from 0 (the default) to 10.

#include <string>

namespace engine {

// The value of `iniPath`; a missing, malformed or negative value gives 0, one
// above 10 gives 10.
unsigned PreRecordSecondsSetting(const std::string& iniPath);
// The same for the SoftSet.ini of the program folder.
unsigned PreRecordSecondsSetting();

} // namespace engine
