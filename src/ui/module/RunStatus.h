#pragma once
// How a run's commands read at a glance: the colour a command's row takes
// in the result table, the run in one line for the status bar, and the
// words the progress dialog has for a module that has gone quiet.
#include "provision/Report.h"

#include <QString>

namespace zx::ui {

enum class Tone;

// The colour a command's row takes in the table.
Tone statusTone(provision::Status status);

// The run in one line for the status bar: "Write to +4917012345: 186 of 186
// answered in 16 s", and what did not go through, "..., 3 without an
// answer, see the result".
QString runStatusLine(const provision::Report &report, const QString &run);

// After this many commands in a row without an answer the run stops and the
// progress dialog says that the module is silent.
inline constexpr int kSilentAfter = provision::kSilentCommandsToStop;

// Empty while the module answers; else what the installer sees and can do,
// from the commands done so far (the first `done` results).
QString silenceText(const QList<provision::CommandResult> &results, int done);

} // namespace zx::ui
