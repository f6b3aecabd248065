#pragma once
// The numbered texts ("Message" section of the language file) a take shows.

#include <string>

namespace engine {

enum SessionMessage : int {
    kMsgNoRecordSource = 1,
    kMsgNotReady = 3,
    kMsgNoOutputPath = 11,
    kMsgBadFileType = 12,
    kMsgOverwrite = 13,
    kMsgDeleteFailed = 14,
    kMsgWriteFailed = 15,
    kMsgNoRecordableDevice = 16,
    kMsgNoWriter = 17,
    kMsgWriteParams = 18,
    kMsgWriteAddress = 19,
    kMsgDiscFull = 20,
    kMsgWrongDisc = 21,
    kMsgDiscInfo = 22,
    kMsgDiscClosed = 23,
    kMsgCapacity = 24,
    kMsgNoSpace = 25,
    kMsgCloseFailed = 30,
    kMsgDriveInUse = 31,
};

// Shows the text with the information icon; returns the answer.
int ShowSessionMessage(SessionMessage number);
// The same with what went wrong on a line of its own below the text.
int ShowSessionMessage(SessionMessage number, const std::string& detail);
// Shows the text as a question with OK and Cancel; true for OK.
bool AskSessionQuestion(SessionMessage number);

} // namespace engine
