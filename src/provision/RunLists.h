#pragma once
// The command lists a provisioning run sends, and what the answers of a read
// run put into a record. The command line and the window share them, so a
// run from either sends the same lines in the same order.
#include "provision/Engine.h"
#include "provision/Plan.h"
#include "provision/ReadPlan.h"
#include "settings/ConfigRecord.h"

#include <QList>
#include <QSet>
#include <QStringList>

namespace zx::provision {

QList<Command> writeCommands(const Plan &plan);

// The entries a read step fills: "PhoneBookNumbers" stands for all seven.
QStringList stepEntries(const ReadStep &step);

// The read steps that cover at least one of the entries, and their commands.
struct ReadRun {
    QList<ReadStep> steps;
    QList<Command> commands;
};
ReadRun readRun(const QStringList &entries);

// Every answered step's answer through its parser into record; the entries
// a parser took. results are the run's, in step order.
QSet<QString> applyReadResults(const ReadRun &run, const QList<CommandResult> &results,
                               settings::ConfigRecord &record);

} // namespace zx::provision
