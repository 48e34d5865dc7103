#pragma once
// A provisioning plan: the module write commands that carry a settings
// record's values, in the order the tabs list them, each built by the same
// command builder the tab's button uses. Which fields go with which command
// is the one table in Plan.cpp (planTable()); commands that act rather than
// configure (outputs, restart, clock) are not in it.
#include "profile/ProfileEntries.h"
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <span>

namespace zx::provision {

struct PlanStep {
    QByteArray line;     // the command as the tab builds it, before framing
    QStringList entries; // the record entries it carries: "AlarmNumbers[3]"
    bool secret = false; // the line carries a password

    // What reports and progress show: the line, or for a password its
    // keyword and "(password)".
    QString shownLine() const;
    QString fieldText() const { return entries.join(QStringLiteral(", ")); }
};

struct Plan {
    QList<PlanStep> steps;
    // Entries with a value the module does not take (see validate/), each
    // one line with the reason: "SamplingRate: -1 is outside 0..9". The
    // command that would carry such a value is not among the steps; a run
    // from the command line refuses the whole plan.
    QStringList skipped;

    bool allTaken() const { return skipped.isEmpty(); }
};

// A row of the plan table: one command family and the fields it carries.
struct PlanRow {
    const char *keyword; // "SETNN"
    const char *fields;  // "AlarmNumbers[n]", as the README lists them
    const char *builder; // the builder the tab uses
};
std::span<const PlanRow> planTable();

// Every command of the table for the record.
Plan writePlan(const settings::ConfigRecord &record);
// Only the commands whose line differs from the one `from` gives for the
// same entries: a change of two alarm numbers gives two "SETNN" lines. For a
// partial profile, `to` is the profile applied over `from`, so that what it
// leaves out stays as `from` has it.
// With known given, `from` is what the module is known to hold only for
// those entries (a read-back): a command that carries any other entry is
// sent whatever `from` says.
Plan diffPlan(const settings::ConfigRecord &from, const settings::ConfigRecord &to,
              const QSet<QString> *known = nullptr);
// Only the commands that carry at least one of the named entries (a partial
// profile's fields).
Plan namedPlan(const settings::ConfigRecord &record, const profile::EntryNames &names);

} // namespace zx::provision
