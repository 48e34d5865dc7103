#pragma once
// Misbehaviour the simulator can be asked for, to try the tool against it.
namespace zx::sim {

struct FaultOptions {
    bool silent = false;        // reads everything, answers nothing
    bool refuseAll = false;     // the module answers ERROR to every command
    int delayMs = 0;            // before each answer
    int splitPieces = 1;        // each answer written in this many pieces ...
    int splitGapMs = 30;        // ... this far apart
    int noiseBytesPerSec = 0;   // random bytes sent between answers
    bool lineRate = false;      // bytes cross the line no faster than the
                                // terminal's baud rate, 10 bit times each
    int noiseEverySec = 0;      // 0: noise all the time; else a one-second
                                // burst of it every this many seconds
    int unsolicitedPerSec = 0;  // with the modem: unsolicited result lines
                                // (RING, +CREG, +CSQ, +CMTI) sent a second
    int vanishAfterSec = 0;     // 0: never; else the port goes away after
                                // this long and comes back as long again later
};

} // namespace zx::sim
