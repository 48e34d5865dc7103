#pragma once
// An SMS job built from a profile and what the register knows of each
// module, its cost before anything is sent, and a stopped job made ready to
// go on: the cli's 'write --sms' and the window's SMS mode build and resume
// their jobs the same way.
#include "profile/ProfileFiles.h"
#include "register/Register.h"
#include "remote/SmsJob.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zx::reg {

// "15 SMS to 3 modules (+4915111 5, ...)", with the cost at price per SMS.
QStringList costLines(const remote::SmsJob &job);

// A job's commands for each module: what the module is not known to hold
// (everything with whole, or when the register knows nothing of it yet:
// then unknown(module) is told).
remote::SmsJob writeJob(Register &reg, const QStringList &modules, const profile::Source &source,
                        bool whole, const std::function<void(const QString &module)> &unknown = {});
// The read-back of entries (all readable entries when empty).
remote::SmsJob readJob(const QStringList &modules, const QStringList &entries);

// The profile's lines for the password commands the journal does not keep;
// the error when the profile is not the one the job was made from.
QString restoreSecrets(remote::SmsJob &job, const profile::Source &source, const QByteArray &hash);
QByteArray profileHash(const QString &path);

} // namespace zx::reg
