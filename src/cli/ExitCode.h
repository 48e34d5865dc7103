#pragma once
// What zentorix-cli tells the shell. Every help text ends with this list.
namespace zx::cli {

enum ExitCode : int {
    ExitOk = 0,          // done: every command answered (and verified)
    ExitNotAnswered = 1, // some module commands were not answered or not verified
    ExitDiffers = 1,     // profile diff: the two files differ
    ExitUsage = 2,       // a usage error, or a file that cannot be read or written
    ExitPort = 3,        // the serial port cannot be opened, or was lost
};

inline constexpr char kExitStatusHelp[] =
    "Exit status:\n"
    "  0  done; every module command answered (and verified)\n"
    "  1  some module commands not answered or not verified\n"
    "  2  usage error, or a file that cannot be read or written\n"
    "  3  serial port error: cannot be opened, or lost\n";

} // namespace zx::cli
