#pragma once
// Why an encoding run of the encoder component failed.

namespace vesplin {

enum class EncodeError {
    None,
    BadArgument,   // no queue or drive, a chunk size outside 1 .. CDataList::kBlockBytes,
                   // or a track whose end lies before its start
    CannotCreate,  // the output file could not be created
    EncoderFailed, // the MP3 library could not be set up or refused the data
    WriteFailed,   // writing the file failed (a full disk, an I/O error)
};

} // namespace vesplin
