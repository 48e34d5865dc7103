#pragma once
// The steps of write, read and verify that do not depend on how many ports
// run at once: which entries a profile lets be read back, the plans, what a
// read-back's answers hold, how they compare, and the profile a read gives.
#include "cli/Console.h"
#include "profile/ProfileFiles.h"
#include "provision/Plan.h"
#include "provision/ReadPlan.h"
#include "provision/Report.h"
#include "provision/RunLists.h"
#include "register/KnownRecord.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace zx::cli {

// The entries of among that can be read back and that the source names.
QStringList readableOf(const profile::Source &source, const QStringList &among);

// The lines that differ from what the register knows module holds; with
// nothing known, the whole plan (and a line on standard error says so).
provision::Plan changesPlan(const reg::KnownRecord &known, const QString &module,
                            const profile::Source &source, Console &console);

// A plan that holds a value the module does not take is not sent: the first
// such value is the error (one line), with how many more there are.
std::optional<int> refuseUntaken(Console &console, const QString &path,
                                 const provision::Plan &plan);

// What the answers of a read-back hold: the record, the entries whose answer
// a parser took, and what an answer showed of an alarm number it could not
// show whole.
struct ReadBack {
    settings::ConfigRecord record;
    QSet<QString> answered;
    QHash<QString, QByteArray> seen;
};
ReadBack takeReads(const provision::ReadRun &reads, const QList<provision::CommandResult> &results);

// Compares with expected only the entries whose answer was read; the others
// go into the report as unread, not as differing.
void compareReadBack(provision::Report &report, const settings::ConfigRecord &expected,
                     const QStringList &entries, const ReadBack &read);

// The profile a read gives: each readable entry answered, null or left out
// for the others, so that writing it back leaves them as they are.
QByteArray readProfile(const settings::ConfigRecord &record, const QSet<QString> &answered);

} // namespace zx::cli
