#pragma once
// Named moments of a save at which a test can hold the program, so that a
// signal can be sent at exactly that moment instead of after a guessed
// delay. Unused (one getenv per save) unless TAMBOR_PAUSE_AT names a point:
// the program then writes the point's name and a line end to the descriptor
// TAMBOR_PAUSE_REPORT_FD and waits for one byte on TAMBOR_PAUSE_RESUME_FD.
//
// The points of writeFileBytesAtomic: "before-write", "mid-write",
// "after-fsync", "after-rename"; of readFileBytes: "after-read".

namespace tambor {

void pausePoint(const char* name);

}  // namespace tambor
