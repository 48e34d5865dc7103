#include "register/RunKeeper.h"

#include "text/Ansi.h"

namespace zx::reg {
namespace {

// The first line of an answer with text, without the blanks around it.
QString firstLine(const QByteArray &answer) {
    for (const QByteArray &line : answer.split('\n')) {
        const QByteArray text = QByteArray(line).replace('\r', ' ').replace('\0', ' ').trimmed();
        if (!text.isEmpty())
            return text::fromAnsi(text);
    }
    return {};
}

// A text slot's characters without the blanks at their end.
QByteArray textOf(const QByteArray &slot) {
    QByteArray text = slot.isEmpty() ? QByteArray() : slot.mid(1, quint8(slot.at(0)));
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

} // namespace

QString runOutcome(const provision::Report &report) {
    if (!report.portError.isEmpty())
        return QStringLiteral("port error");
    if (report.cancelled)
        return QStringLiteral("cancelled");
    if (!report.allAnswered())
        return QStringLiteral("incomplete");
    if (!report.mismatches.isEmpty())
        return QStringLiteral("differs");
    return QStringLiteral("complete");
}

provision::Plan changesPlan(const KnownRecord &known, const QString &module,
                            const settings::ConfigRecord &wanted) {
    settings::ConfigRecord from = known.record;
    QSet<QString> entries = known.entries();
    for (auto it = known.secretHash.cbegin(); it != known.secretHash.cend(); ++it) {
        const QList<Value> value = valuesOf(wanted, {it.key()});
        if (!value.isEmpty() &&
            Register::secretHash(module, it.key(), value.first().bytes) == it.value())
            setEntryBytes(from, it.key(), entryBytes(wanted, it.key()));
        else
            entries.remove(it.key());
    }
    return provision::diffPlan(from, wanted, &entries);
}

RunKeeper::~RunKeeper() { interrupt(); }

KnownRecord RunKeeper::known() const {
    if (!m_register || m_module.isEmpty())
        return {};
    return knownRecord(m_register->confirmations(m_module));
}

void RunKeeper::expectWrites(const provision::Plan &plan, const settings::ConfigRecord &record) {
    for (const provision::PlanStep &step : plan.steps)
        m_expected.append({valuesOf(record, step.entries), std::nullopt, false});
}

void RunKeeper::expectReads(const provision::ReadRun &reads) {
    for (const provision::ReadStep &step : reads.steps)
        m_expected.append({{}, step, false});
}

void RunKeeper::expectFirmware() { m_expected.append({{}, std::nullopt, true}); }

bool RunKeeper::begin(const QString &kind, const QString &port,
                      const QList<provision::Command> &plan) {
    if (!m_register) {
        m_expected.clear();
        return false;
    }
    QStringList lines;
    for (const provision::Command &command : plan)
        lines << provision::shownLine(command);
    m_known = known();
    m_seq = 0;
    m_run = m_register->beginRun({m_module, kind, port, lines});
    if (!m_run)
        m_expected.clear();
    return m_run.has_value();
}

bool RunKeeper::record(const provision::CommandResult &result) {
    if (!m_run)
        return false;
    const int seq = m_seq++;
    CommandOutcome outcome;
    outcome.line = provision::shownLine(result.command);
    outcome.answer = provision::shownAnswer(result);
    outcome.status = provision::statusName(result.status);
    // Only an answer counts: a command refused, not recognised, cancelled or
    // unanswered leaves the module's value as unknown as it was.
    outcome.answered = result.status == provision::Status::Answered;
    outcome.firstByteMs = result.firstByteMs;
    outcome.endMs = result.endMs;
    const Expect expect = m_expected.value(seq);
    if (outcome.answered) {
        outcome.values = expect.written;
        if (expect.read) {
            settings::ConfigRecord parsed;
            if (provision::applyAnswer(*expect.read, result.answer, parsed))
                outcome.values = readValues(parsed, provision::stepEntries(*expect.read));
        }
        if (expect.firmware)
            outcome.firmware = firstLine(result.answer);
    }
    if (m_register->recordCommand(*m_run, seq, outcome))
        return true;
    m_run.reset();
    return false;
}

QList<Value> RunKeeper::readValues(const settings::ConfigRecord &parsed,
                                   const QStringList &entries) const {
    QList<Value> values;
    for (Value value : valuesOf(parsed, entries)) {
        // An alarm number of 20 characters fills the answer's whole number
        // field and is read as empty: an empty one read back confirms nothing.
        if (value.entry.startsWith(QLatin1String("AlarmNumbers[")) && textOf(value.bytes).isEmpty())
            continue;
        // The padded lines cannot carry a text's trailing blanks: a text read
        // back as the one known but for them is that one.
        if (!value.secret && m_known.confirmed.contains(value.entry)) {
            const QByteArray known = entryBytes(m_known.record, value.entry);
            if (textOf(known) == textOf(value.bytes))
                value.bytes = known;
        }
        values << value;
    }
    return values;
}

bool RunKeeper::finish(const provision::Report &report) {
    if (!m_run)
        return false;
    const qint64 run = *m_run;
    m_run.reset();
    m_expected.clear();
    return m_register->finishRun(run, runOutcome(report));
}

bool RunKeeper::interrupt() {
    if (!m_run)
        return false;
    const qint64 run = *m_run;
    m_run.reset();
    m_expected.clear();
    return m_register->interruptRun(run);
}

} // namespace zx::reg
