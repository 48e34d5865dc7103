#include "cli/ModuleSteps.h"

#include "cli/ExitCode.h"
#include "profile/Profile.h"
#include "profile/ProfileEntries.h"
#include "provision/RunLists.h"
#include "register/RunKeeper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace zx::cli {
namespace {

// The commands of plan that carry at least one entry a partial profile names.
provision::Plan onlyNamed(provision::Plan plan, const profile::EntryNames &named) {
    plan.steps.removeIf([&](const provision::PlanStep &step) {
        return std::none_of(step.entries.begin(), step.entries.end(), [&](const QString &entry) {
            return profile::namesEntry(named, profile::findEntry(entry));
        });
    });
    return plan;
}

} // namespace

QStringList readableOf(const profile::Source &source, const QStringList &among) {
    QStringList entries;
    for (const QString &entry : provision::readableEntries())
        if (among.contains(entry) &&
            (!source.named || profile::namesEntry(*source.named, profile::findEntry(entry))))
            entries << entry;
    return entries;
}

provision::Plan changesPlan(const reg::KnownRecord &known, const QString &module,
                            const profile::Source &source, Console &console) {
    if (known.isEmpty()) {
        console.err(QStringLiteral("%1: the register knows nothing of module %2 yet; "
                                   "sending the whole plan\n")
                        .arg(QLatin1String(kProgramName), module)
                        .toUtf8());
        return source.named ? provision::namedPlan(source.record, *source.named)
                            : provision::writePlan(source.record);
    }
    provision::Plan plan = reg::changesPlan(known, module, source.record);
    if (source.named)
        plan = onlyNamed(plan, *source.named);
    return plan;
}

std::optional<int> refuseUntaken(Console &console, const QString &path,
                                 const provision::Plan &plan) {
    if (plan.allTaken())
        return std::nullopt;
    QString message = QStringLiteral("%1: %2").arg(path, plan.skipped.constFirst());
    if (plan.skipped.size() > 1)
        message += QStringLiteral(" (and %1 more)").arg(plan.skipped.size() - 1);
    return console.fail(ExitUsage, message + QStringLiteral("; nothing was sent"));
}

ReadBack takeReads(const provision::ReadRun &reads, const QList<provision::CommandResult> &results) {
    ReadBack back;
    back.answered = provision::applyReadResults(reads, results, back.record);
    for (qsizetype i = 0; i < std::min(results.size(), reads.steps.size()); ++i)
        if (results.at(i).status == provision::Status::Answered)
            if (const auto shown = provision::cutAlarmNumber(reads.steps.at(i), results.at(i).answer))
                back.seen.insert(reads.steps.at(i).field, *shown);
    return back;
}

void compareReadBack(provision::Report &report, const settings::ConfigRecord &expected,
                     const QStringList &entries, const ReadBack &read) {
    QStringList taken;
    for (const QString &entry : entries)
        (read.answered.contains(entry) || read.seen.contains(entry) ? taken : report.unread)
            << entry;
    report.verified = true;
    report.mismatches = provision::compareReadBack(expected, read.record, taken,
                                                   &report.unverifiable, &read.seen);
}

QByteArray readProfile(const settings::ConfigRecord &record, const QSet<QString> &answered) {
    const QJsonObject all = profile::exportProfile(record).value(QStringLiteral("fields")).toObject();
    QJsonObject fields;
    for (const QString &entry : provision::readableEntries()) {
        const QString field = entry.section(QLatin1Char('['), 0, 0);
        const QJsonValue value = all.value(field);
        if (!value.isArray()) {
            if (answered.contains(entry))
                fields.insert(field, value);
            continue;
        }
        const int n = entry.section(QLatin1Char('['), 1).chopped(1).toInt();
        QJsonArray list = fields.value(field).toArray();
        while (list.size() < n)
            list.append(QJsonValue::Null);
        list[n - 1] = answered.contains(entry) ? value.toArray().at(n - 1) : QJsonValue::Null;
        fields.insert(field, list);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("version"), profile::kProfileVersion},
                                     {QStringLiteral("fields"), fields}})
        .toJson();
}

} // namespace zx::cli
