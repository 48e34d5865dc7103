#include "provision/RunLists.h"

#include <algorithm>

namespace zx::provision {

QList<Command> writeCommands(const Plan &plan) {
    QList<Command> commands;
    for (const PlanStep &step : plan.steps)
        commands.append({step.line, step.fieldText(), step.secret, QStringLiteral("write")});
    return commands;
}

QStringList stepEntries(const ReadStep &step) {
    if (step.field.contains(QLatin1Char('[')))
        return {step.field};
    QStringList entries;
    for (const QString &entry : readableEntries())
        if (entry == step.field || entry.startsWith(step.field + QLatin1Char('[')))
            entries << entry;
    return entries;
}

ReadRun readRun(const QStringList &entries) {
    ReadRun run;
    for (const ReadStep &step : readPlan()) {
        const QStringList covered = stepEntries(step);
        if (std::none_of(covered.begin(), covered.end(),
                         [&](const QString &e) { return entries.contains(e); }))
            continue;
        run.steps.append(step);
        run.commands.append({step.line, step.field, step.secret, QStringLiteral("read")});
    }
    return run;
}

QSet<QString> applyReadResults(const ReadRun &run, const QList<CommandResult> &results,
                               settings::ConfigRecord &record) {
    QSet<QString> answered;
    const qsizetype count = std::min(run.steps.size(), results.size());
    for (qsizetype i = 0; i < count; ++i) {
        const CommandResult &result = results.at(i);
        if (result.status == Status::Answered &&
            applyAnswer(run.steps.at(i), result.answer, record))
            for (const QString &entry : stepEntries(run.steps.at(i)))
                answered.insert(entry);
    }
    return answered;
}

} // namespace zx::provision
