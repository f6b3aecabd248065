#pragma once
// The fixed pauses of a recording session and its CD writer. The defaults are
// the ones the program runs with; tests shorten them so that a take with a
// busy or failing drive runs in a moment.

struct SessionPauses {
    unsigned stopMs = 1000;            // Stop: after setting g_notRecording, before finishing
    unsigned mp3ThreadStartMs = 1000;  // MP3 thread: before it starts encoding (the queue waits)
    unsigned mp3DrainPollMs = 50;      // Stop of an MP3 take: between looks at the queue
    unsigned queuePollMs = 50;         // CD writer: between looks at a queue with too little
    unsigned busyRetryMs = 50;         // CD writer: after a write the drive refused as busy
    unsigned busyDeadlineMs = 20000;   // CD writer: a drive busy this long cannot keep up
    unsigned cacheFlushPollMs = 1000;  // finishing a track: while the drive flushes its cache
    unsigned sessionClosePollMs = 600; // finishing a track: while the drive closes the session
    unsigned trayOpenMs = 2000;        // finishing a track: the tray stays open this long
};

// Sleeps for `ms` milliseconds (no call for 0).
void PauseMs(unsigned ms);
