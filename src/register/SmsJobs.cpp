#include "register/SmsJobs.h"

#include "profile/Profile.h"
#include "profile/ProfileEntries.h"
#include "provision/Plan.h"
#include "provision/ReadPlan.h"
#include "provision/Report.h"
#include "provision/RunLists.h"
#include "register/KnownRecord.h"
#include "register/RunKeeper.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>

namespace zx::reg {
namespace {

QString money(double amount) { return QString::number(amount, 'f', 2); }

int openCommands(const remote::SmsJob &job, const QString &module) {
    int count = 0;
    for (const remote::SmsCommand *command : job.commandsOf(module))
        count += remote::isFinal(command->state) ? 0 : 1;
    return count;
}

provision::Plan wholePlan(const profile::Source &source) {
    return source.named ? provision::namedPlan(source.record, *source.named)
                        : provision::writePlan(source.record);
}

// The differences, only in the entries a partial profile names.
provision::Plan changedPlan(const KnownRecord &known, const QString &module,
                            const profile::Source &source) {
    provision::Plan plan = changesPlan(known, module, source.record);
    if (source.named)
        plan.steps.removeIf([&](const provision::PlanStep &step) {
            return std::none_of(step.entries.begin(), step.entries.end(), [&](const QString &entry) {
                return profile::namesEntry(*source.named, profile::findEntry(entry));
            });
        });
    return plan;
}

} // namespace

QStringList costLines(const remote::SmsJob &job) {
    int total = 0;
    QStringList parts;
    for (const QString &module : job.modules()) {
        const int open = openCommands(job, module);
        total += open;
        parts << QStringLiteral("%1 %2").arg(module).arg(open);
    }
    QStringList lines;
    lines << QStringLiteral("%1 SMS to %2 module%3 (%4)")
                 .arg(total)
                 .arg(job.modules().size())
                 .arg(job.modules().size() == 1 ? QString() : QStringLiteral("s"), parts.join(QStringLiteral(", ")));
    const int most = total * (1 + job.retries);
    if (job.retries > 0 && total > 0)
        lines << QStringLiteral("at most %1 with %2 retr%3 each for answers that do not come")
                     .arg(most)
                     .arg(job.retries)
                     .arg(job.retries == 1 ? QStringLiteral("y") : QStringLiteral("ies"));
    if (job.pricePerSms > 0)
        lines << QStringLiteral("cost: %1 at %2 per SMS (at most %3)")
                     .arg(money(total * job.pricePerSms), money(job.pricePerSms), money(most * job.pricePerSms));
    return lines;
}

remote::SmsJob writeJob(Register &reg, const QStringList &modules, const profile::Source &source,
                        bool whole, const std::function<void(const QString &module)> &unknown) {
    remote::SmsJob job;
    job.kind = QStringLiteral("write");
    for (const QString &module : modules) {
        provision::Plan plan;
        if (whole) {
            plan = wholePlan(source);
        } else {
            const KnownRecord known = knownRecord(reg.confirmations(module));
            if (known.isEmpty()) {
                if (unknown)
                    unknown(module);
                plan = wholePlan(source);
            } else {
                plan = changedPlan(known, module, source);
            }
        }
        int seq = 0;
        for (const provision::PlanStep &step : plan.steps) {
            remote::SmsCommand command;
            command.module = module;
            command.seq = seq++;
            command.line = step.line;
            command.shownLine = step.shownLine();
            command.entries = step.entries;
            command.secret = step.secret;
            job.commands.append(command);
        }
    }
    return job;
}

remote::SmsJob readJob(const QStringList &modules, const QStringList &entries) {
    remote::SmsJob job;
    job.kind = QStringLiteral("read");
    const provision::ReadRun reads = provision::readRun(entries.isEmpty() ? provision::readableEntries() : entries);
    for (const QString &module : modules) {
        int seq = 0;
        for (qsizetype i = 0; i < reads.steps.size(); ++i) {
            remote::SmsCommand command;
            command.module = module;
            command.seq = seq++;
            command.line = reads.steps.at(i).line;
            command.shownLine = provision::shownLine(reads.commands.at(i));
            command.entries = provision::stepEntries(reads.steps.at(i));
            command.secret = reads.steps.at(i).secret;
            job.commands.append(command);
        }
    }
    return job;
}

QByteArray profileHash(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

QString restoreSecrets(remote::SmsJob &job, const profile::Source &source, const QByteArray &hash) {
    if (job.profileHash != hash)
        return QStringLiteral("%1 has changed since job %2 was made from it; the job goes on only "
                              "with the profile as it was")
            .arg(job.profile)
            .arg(job.id);
    const provision::Plan all = provision::writePlan(source.record);
    for (remote::SmsCommand &command : job.commands) {
        if (!command.secret || !command.line.isEmpty() || job.kind != QLatin1String("write"))
            continue;
        for (const provision::PlanStep &step : all.steps)
            if (step.entries == command.entries)
                command.line = step.line;
    }
    // A read of a password keeps its line: it carries none.
    for (remote::SmsCommand &command : job.commands)
        if (command.line.isEmpty() && job.kind != QLatin1String("write"))
            for (const provision::ReadStep &step : provision::readPlan())
                if (provision::stepEntries(step) == command.entries)
                    command.line = step.line;
    return {};
}

} // namespace zx::reg
