#pragma once
// write, read and verify by SMS through a modem, the job built by
// register/SmsJobs: the run itself (progress on standard error, the
// summary, a report), which a later 'jobs resume' continues when it was
// stopped.
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

// Runs the job to its end, or until Ctrl-C / SIGTERM / SIGHUP stops it (it
// can then be resumed); the exit status.
int runSmsJob(Console &console, reg::Register &reg, remote::SmsJob job, const profile::Source &source,
              const SmsOptions &options);

// The job's state in words, one line per module and one per command.
QStringList jobLines(const remote::SmsJob &job);

} // namespace zx::cli
