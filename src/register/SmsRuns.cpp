#include "register/SmsRuns.h"

#include "provision/ReadPlan.h"

namespace zx::reg {
namespace {

std::optional<provision::ReadStep> readStepOf(const QByteArray &line) {
    for (const provision::ReadStep &step : provision::readPlan())
        if (step.line == line)
            return step;
    return std::nullopt;
}

provision::Command commandOf(const remote::SmsCommand &command, const QString &kind) {
    provision::Command c;
    c.line = command.line.isEmpty() ? command.shownLine.toLatin1() : command.line;
    c.field = command.entries.join(QStringLiteral(", "));
    c.secret = command.secret;
    c.kind = kind;
    return c;
}

} // namespace

provision::CommandResult resultOf(const remote::SmsCommand &command, const QString &kind) {
    provision::CommandResult result;
    result.command = commandOf(command, kind);
    switch (command.state) {
    case remote::SmsState::Answered:
        result.status = provision::Status::Answered;
        break;
    case remote::SmsState::Refused:
        result.status = provision::Status::Refused;
        break;
    case remote::SmsState::GivenUp:
        result.status = provision::Status::NoAnswer;
        break;
    case remote::SmsState::ToSend:
        result.status = provision::Status::NotSent;
        break;
    case remote::SmsState::Handed:
        result.status = provision::Status::Cancelled;
        break;
    }
    result.answer = command.answer;
    result.reason = command.reason;
    return result;
}

SmsRuns::SmsRuns(Register &reg, const remote::SmsJob &job, const settings::ConfigRecord &record)
    : m_register(reg), m_job(job), m_record(record) {}

bool SmsRuns::begin() {
    const QString kind = m_job.kind == QLatin1String("write") ? QStringLiteral("write") : QStringLiteral("read");
    for (const QString &module : m_job.modules()) {
        provision::Plan writes;
        provision::ReadRun reads;
        QList<provision::Command> open;
        for (const remote::SmsCommand *command : m_job.commandsOf(module)) {
            if (remote::isFinal(command->state))
                continue;
            open.append(commandOf(*command, kind));
            if (kind == QLatin1String("write"))
                writes.steps.append({command->line, command->entries, command->secret});
            else if (const auto step = readStepOf(command->line))
                reads.steps.append(*step);
        }
        if (open.isEmpty())
            continue;
        ModuleRun run;
        run.keeper = std::make_unique<RunKeeper>(&m_register);
        run.keeper->setModule(module);
        if (kind == QLatin1String("write"))
            run.keeper->expectWrites(writes, m_record);
        else
            run.keeper->expectReads(reads);
        const QString port = QStringLiteral("SMS %1 via %2").arg(module, m_job.modemPort);
        if (!run.keeper->begin(m_job.kind, port, open)) {
            m_error = m_register.lastError();
            return false;
        }
        run.report.port = port;
        run.report.started = QDateTime::currentDateTimeUtc();
        m_runs.emplace(module, std::move(run));
    }
    return true;
}

void SmsRuns::done(const remote::SmsCommand &command) {
    const auto it = m_runs.find(command.module);
    if (it == m_runs.end())
        return;
    const QString kind = m_job.kind == QLatin1String("write") ? QStringLiteral("write") : QStringLiteral("read");
    const provision::CommandResult result = resultOf(command, kind);
    it->second.report.results.append(result);
    if (!it->second.keeper->record(result))
        m_error = m_register.lastError();
}

void SmsRuns::finish(bool stopped) {
    for (auto &[module, run] : m_runs) {
        run.report.ended = QDateTime::currentDateTimeUtc();
        run.report.cancelled = stopped;
        run.keeper->finish(run.report);
    }
    m_runs.clear();
}

} // namespace zx::reg
