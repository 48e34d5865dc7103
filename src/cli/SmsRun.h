#pragma once
// write, read and verify by SMS through a modem: the job built from a
// profile and the register, its cost before anything is sent, and the run
// itself (progress on standard error, the summary, a report), which a later
// 'jobs resume' continues when it was stopped.
#include "cli/Console.h"
#include "cli/DriverPort.h"
#include "profile/ProfileFiles.h"
#include "register/Register.h"
#include "remote/SmsJob.h"

#include <QString>
#include <QStringList>

namespace zx::cli {

struct SmsOptions {
    PortChoice modem;
    int listEveryMs = 5000;
    QString reportPath;
    bool json = false;
    bool takeOver = false; // run a job another machine's program claims
};

// "15 SMS to 3 modules (+4915111 5, ...)", with the cost at price per SMS.
QStringList costLines(const remote::SmsJob &job);

// A job's commands for each module: what the module is not known to hold
// (everything with whole), or the read-back of entries (all readable
// entries when empty).
remote::SmsJob writeJob(reg::Register &reg, const QStringList &modules, const profile::Source &source,
                        bool whole, Console &console);
remote::SmsJob readJob(const QStringList &modules, const QStringList &entries);

// The profile's lines for the password commands the journal does not keep;
// the error when the profile is not the one the job was made from.
QString restoreSecrets(remote::SmsJob &job, const profile::Source &source, const QByteArray &hash);
QByteArray profileHash(const QString &path);

// Runs the job to its end, or until Ctrl-C / SIGTERM / SIGHUP stops it (it
// can then be resumed); the exit status.
int runSmsJob(Console &console, reg::Register &reg, remote::SmsJob job, const profile::Source &source,
              const SmsOptions &options);

// The job's state in words, one line per module and one per command.
QStringList jobLines(const remote::SmsJob &job);

} // namespace zx::cli
