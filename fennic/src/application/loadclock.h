// The load clock: "CLOCK" lines that time the steps of a long load (a level's
// paths, say) on the console and in the log.
#pragma once

// Sets the start and last-mark times to the process clock (milliseconds).
void clockReset();
// Writes "CLOCK : label : delta [acc total]" (seconds) to the console and the
// log when their switches are on, then marks the clock afresh.
void clockMark(const char* szLabel);
// The two output switches; both start on.
void setClockOutput(bool bConsole, bool bLog);
